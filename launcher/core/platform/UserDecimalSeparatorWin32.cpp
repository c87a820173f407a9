#include <windows.h>

#include "text/MessageFormat.h"

namespace morvo {

char UserDecimalSeparator() {
  // The user's regional settings; a separator of more than one plain character stays '.'.
  wchar_t separator[4] = {};
  const int n = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
  return n == 2 && separator[0] > L' ' && separator[0] < 0x7F ? static_cast<char>(separator[0])
                                                              : '.';
}

}  // namespace morvo
