// DDEML client conversations with browsers. Each call sets up its own
// DDEML instance and tears it down again, so the library keeps no state
// between calls and can be freed at any time by the program that loaded it.
#include "bridge/tvdde/dde_client.h"


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
constexpr std::size_t maxStringHandleBytes = 255;

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
    std::size_t size() const { return size_; }

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

    // XTYP_EXECUTE of a command text; true when the server acknowledged it.
    bool execute(const std::string& command, DWORD timeoutMs) {
        std::string copy = command;  // the call takes a non-const pointer
        HDDEDATA result = DdeClientTransaction(
            reinterpret_cast<LPBYTE>(&copy[0]), static_cast<DWORD>(copy.size() + 1),
            conversation_, nullptr, 0, XTYP_EXECUTE, timeoutMs, nullptr);
        return result != nullptr;
    }

private:
    DdeInstance instance_;
    StringHandle service_;
    StringHandle topic_;
    HCONV conversation_ = nullptr;
};

bool usable(const char* text) { return text != nullptr && text[0] != '\0'; }

}  // namespace

bool requestWindowInfo(const char* service, std::string& reply, std::size_t capacity) {
    reply.clear();
    if (!usable(service) || capacity == 0) return false;
    Conversation conversation(service, "WWW_GetWindowInfo");
    if (!conversation.connected()) return false;
    DataHandle answer(conversation.request("0xFFFFFFFF", windowInfoTimeoutMs));
    if (!answer.get()) return false;
    DataView view(answer.get());
    reply = replyText(view.data(), view.size(), capacity);
    return !reply.empty();
}

bool requestOpenUrl(const char* service, const char* url) {
    if (!usable(service) || !usable(url)) return false;
    const std::string arguments = openUrlArguments(url);
    Conversation conversation(service, "WWW_OpenURL");
    if (!conversation.connected()) return false;
    // The argument list travels as the item name while it fits into a
    // string handle; longer URLs go as the data of an execute instead.
    if (arguments.size() > maxStringHandleBytes)
        return conversation.execute(arguments, openUrlTimeoutMs);
    DataHandle answer(conversation.request(arguments.c_str(), openUrlTimeoutMs));
    if (!answer.get()) return false;
    DataView view(answer.get());
    return openUrlAccepted(view.data(), view.size());
}

}  // namespace tvdde
