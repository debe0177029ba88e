// The three C entry points of the browser bridge library. Callers find
// them by name at run time; the module-definition file gives them their
// exported names. Nothing thrown inside may cross into the caller.
#include <cstring>
#include <string>

#include "bridge/tvdde/dde_client.h"
#include "bridge/tvdde/reply_parse.h"

extern "C" {

int __cdecl tvddeGetActiveBrowseInfo(const char* service, char* reply, int replySize) {
    if (reply == nullptr || replySize <= 0) return 0;
    reply[0] = '\0';
    try {
        std::string text;
        if (!tvdde::requestWindowInfo(service, text, static_cast<std::size_t>(replySize)))
            return 0;
        std::memcpy(reply, text.data(), text.size());
        reply[text.size()] = '\0';
        return 1;
    } catch (...) {
        reply[0] = '\0';
        return 0;
    }
}

int __cdecl tvddeGetDdeStr(const char* reply, char* url, char* title, char* third) {
    try {
        return tvdde::splitReply(reply, url, title, third);
    } catch (...) {
        if (url) url[0] = '\0';
        if (title) title[0] = '\0';
        if (third) third[0] = '\0';
        return 0;
    }
}

int __cdecl tvddeSetBrowseUrl(const char* service, const char* url) {
    try {
        return tvdde::requestOpenUrl(service, url) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
