// The three C entry points of the browser bridge library. Callers find
// them by name at run time; the module-definition file gives them their
// exported names. Plain C-style code: nothing here can throw, and the
// library needs no C++ runtime.
#include "bridge/tvdde/dde_client.h"
#include "bridge/tvdde/reply_parse.h"

extern "C" {

int __cdecl tvddeGetActiveBrowseInfo(const char* service, char* reply, int replySize) {
    if (reply == nullptr || replySize <= 0) return 0;
    return tvdde::requestWindowInfo(service, reply, static_cast<size_t>(replySize)) ? 1 : 0;
}

int __cdecl tvddeGetDdeStr(const char* reply, char* url, char* title, char* third) {
    return tvdde::splitReply(reply, url, title, third);
}

int __cdecl tvddeSetBrowseUrl(const char* service, const char* url) {
    return tvdde::requestOpenUrl(service, url) ? 1 : 0;
}

}  // extern "C"
