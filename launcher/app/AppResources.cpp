#include "AppResources.h"

#include <QPixmap>

// Q_INIT_RESOURCE has to be used outside any namespace; it also keeps the linker from dropping
// the resources of the static library.
static void RegisterResources() { Q_INIT_RESOURCE(MorvoPatcher); }

void InitAppResources() {
  static const bool registered = (RegisterResources(), true);
  (void)registered;
}

QCursor LoadResourceCursor(const char* resource) {
  InitAppResources();
  return QCursor(QPixmap(QString::fromLatin1(resource)), 0, 0);
}
