// The one attempt a local file address gets: its file copied into the part file.
#pragma once

#include <string>

#include "download/BindStatusCallback.h"
#include "download/RetriedDownload.h"

namespace morvo {

AttemptResult CopyLocalFile(const std::string& path, BindStatusCallback& callback,
                            AttemptTarget& target);

}  // namespace morvo
