#include "MciCommand.h"

namespace {

// Replies of the commands used (a length, a mode) and error texts are short.
constexpr UINT kTextLength = 256;

}  // namespace

MCIERROR SendMciCommand(const std::wstring& command, std::wstring& reply) {
  wchar_t buffer[kTextLength] = L"";
  const MCIERROR error = mciSendStringW(command.c_str(), buffer, kTextLength, nullptr);
  reply = buffer;
  return error;
}

std::wstring MciErrorText(MCIERROR error) {
  wchar_t buffer[kTextLength] = L"";
  if (!mciGetErrorStringW(error, buffer, kTextLength)) {
    return L"MCI error " + std::to_wstring(error);
  }
  return buffer;
}
