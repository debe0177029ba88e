// A server's answer to a download's GET, ready to be read: the session
// (through the proxy the system is set up with), the connection and the
// request, with redirects followed one by one so that each is seen.
#pragma once
#include <atomic>
#include <string>

#include "platform/platform.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"

namespace win {

class HttpAnswer {
public:
    // Connecting and each wait for data give up after `stallSeconds`.
    HttpAnswer(int stallSeconds, const std::atomic<bool>& cancelled)
        : stallSeconds_(stallSeconds), cancelled_(cancelled) {}
    HttpAnswer(const HttpAnswer&) = delete;
    HttpAnswer& operator=(const HttpAnswer&) = delete;

    // Asks for `url`: ok once an answer of a status below 400 is there to
    // read, else why not. `result` gets the address the answer came from,
    // or the two addresses of a redirect from https to http.
    platform::DownloadOutcome open(const std::string& url, platform::DownloadResult& result);
    HINTERNET request() const { return request_.get(); }

private:
    platform::DownloadOutcome send(const std::string& url);

    int stallSeconds_;
    const std::atomic<bool>& cancelled_;
    // Closed request first: members go in reverse order.
    ScopedInternet session_, connection_, request_;
};

}  // namespace win
