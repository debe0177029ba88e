// DDEML client conversations with browsers. Each call sets up its own
// DDEML instance and tears it down again, so the library keeps no state
// between calls and can be freed at any time by the program that loaded it.
#include "bridge/tvdde/dde_client.h"

#include <string.h>

#include "bridge/tvdde/reply_parse.h"
#include "platform/win32/win.h"

namespace tvdde {
namespace {

// A browser that has the page ready answers within milliseconds; one that
// does not answer within these times is taken to be hung. Opening a URL
// may make a browser create a window first, so it gets longer.
constexpr DWORD windowInfoTimeoutMs = 3000;
constexpr DWORD openUrlTimeoutMs = 5000;

// DDE string handles are atoms, which hold at most 255 characters.
constexpr size_t maxStringHandleBytes = 255;

HDDEDATA CALLBACK clientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

class StringHandle {
public:
    StringHandle(DWORD instance, const char* text)
        : instance_(instance),
          handle_(instance ? DdeCreateStringHandleA(instance, text, CP_WINANSI) : nullptr) {}
    ~StringHandle() {
        if (handle_) DdeFreeStringHandle(instance_, handle_);
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;
    HSZ get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_;
};

// The data a request returned; the client owns it and must free it.
class DataHandle {
public:
    explicit DataHandle(HDDEDATA handle) : handle_(handle) {}
    ~DataHandle() {
        if (handle_) DdeFreeDataHandle(handle_);
    }
    DataHandle(const DataHandle&) = delete;
    DataHandle& operator=(const DataHandle&) = delete;
    HDDEDATA get() const { return handle_; }

private:
    HDDEDATA handle_;
};

// Read access to a data handle's bytes for as long as the object lives.
class DataView {
public:
    explicit DataView(HDDEDATA handle) : handle_(handle) {
        if (handle_) data_ = DdeAccessData(handle_, &size_);
        if (!data_) size_ = 0;
    }
    ~DataView() {
        if (data_) DdeUnaccessData(handle_);
    }
    DataView(const DataView&) = delete;
    DataView& operator=(const DataView&) = delete;
    const unsigned char* data() const { return data_; }
    size_t size() const { return size_; }

private:
    HDDEDATA handle_;
    LPBYTE data_ = nullptr;
    DWORD size_ = 0;
};

class DdeInstance {
public:
    DdeInstance() {
        if (DdeInitializeA(&id_, clientCallback, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS, 0) !=
            DMLERR_NO_ERROR)
            id_ = 0;
    }
    ~DdeInstance() {
        if (id_) DdeUninitialize(id_);
    }
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    DWORD id() const { return id_; }

private:
    DWORD id_ = 0;
};

// One conversation on one topic. Members are destroyed in reverse order,
// so the conversation ends before its string handles and the instance go.
class Conversation {
public:
    Conversation(const char* service, const char* topic)
        : service_(instance_.id(), service), topic_(instance_.id(), topic) {
        if (service_.get() && topic_.get())
            conversation_ = DdeConnect(instance_.id(), service_.get(), topic_.get(), nullptr);
    }
    ~Conversation() {
        if (conversation_) DdeDisconnect(conversation_);
    }
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;

    bool connected() const { return conversation_ != nullptr; }

    // XTYP_REQUEST of a CF_TEXT item; null when the server gave nothing.
    HDDEDATA request(const char* item, DWORD timeoutMs) {
        StringHandle itemHandle(instance_.id(), item);
        if (!itemHandle.get()) return nullptr;
        return DdeClientTransaction(nullptr, 0, conversation_, itemHandle.get(), CF_TEXT,
                                    XTYP_REQUEST, timeoutMs, nullptr);
    }

    // XTYP_EXECUTE of a zero-terminated command text of `size` bytes; true
    // when the server acknowledged it.
    bool execute(char* command, size_t size, DWORD timeoutMs) {
        HDDEDATA result = DdeClientTransaction(reinterpret_cast<LPBYTE>(command),
                                               static_cast<DWORD>(size + 1), conversation_, nullptr,
                                               0, XTYP_EXECUTE, timeoutMs, nullptr);
        return result != nullptr;
    }

private:
    DdeInstance instance_;
    StringHandle service_;
    StringHandle topic_;
    HCONV conversation_ = nullptr;
};

// A block of the process heap, for a text whose length the caller decides.
class HeapText {
public:
    explicit HeapText(size_t size)
        : text_(static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size))) {}
    ~HeapText() {
        if (text_) HeapFree(GetProcessHeap(), 0, text_);
    }
    HeapText(const HeapText&) = delete;
    HeapText& operator=(const HeapText&) = delete;
    char* get() const { return text_; }

private:
    char* text_;
};

bool usable(const char* text) { return text != nullptr && text[0] != '\0'; }

}  // namespace

bool requestWindowInfo(const char* service, char* reply, size_t capacity) {
    if (capacity == 0) return false;
    reply[0] = '\0';
    if (!usable(service)) return false;
    Conversation conversation(service, "WWW_GetWindowInfo");
    if (!conversation.connected()) return false;
    DataHandle answer(conversation.request("0xFFFFFFFF", windowInfoTimeoutMs));
    if (!answer.get()) return false;
    DataView view(answer.get());
    const size_t length = replyTextLength(view.data(), view.size(), capacity);
    memcpy(reply, view.data(), length);
    reply[length] = '\0';
    return length > 0;
}

bool requestOpenUrl(const char* service, const char* url) {
    if (!usable(service) || !usable(url)) return false;
    const size_t urlSize = strlen(url);
    const size_t size = openUrlArguments(url, urlSize, nullptr);
    HeapText arguments(size + 1);
    if (!arguments.get()) return false;
    openUrlArguments(url, urlSize, arguments.get());
    arguments.get()[size] = '\0';
    Conversation conversation(service, "WWW_OpenURL");
    if (!conversation.connected()) return false;
    // The argument list travels as the item name while it fits into a
    // string handle; longer URLs go as the data of an execute instead.
    if (size > maxStringHandleBytes)
        return conversation.execute(arguments.get(), size, openUrlTimeoutMs);
    DataHandle answer(conversation.request(arguments.get(), openUrlTimeoutMs));
    if (!answer.get()) return false;
    DataView view(answer.get());
    return openUrlAccepted(view.data(), view.size());
}

}  // namespace tvdde
