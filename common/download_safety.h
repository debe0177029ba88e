// What a download keeps of where it came from: a secure address is never
// left for a plain one on a server's say-so, and the saved file carries
// the mark Windows gives what comes from the Internet.
#pragma once
#include <string>
#include <string_view>

// True when a redirect from `from` to `to` leaves https for http: the
// answer would come in the clear, open to change on the way.
bool isDowngrade(std::string_view from, std::string_view to);

// `url` without the user name and password of its authority
// ("http://u:p@h/x" gives "http://h/x"): the mark is no place for them.
std::string withoutUserInfo(std::string_view url);

// The alternate data stream that holds the mark, after the file's path.
inline constexpr const char* zoneStreamSuffix = ":Zone.Identifier";
// The Internet zone, the one Windows gives a file from a web server.
inline constexpr int internetZone = 3;

// The stream's text, as the attachment services write it: the zone, the
// page the link was on (when there was one) and the file's own address,
// each without user information or line breaks.
std::string zoneIdentifierText(std::string_view hostUrl, std::string_view referrerUrl);
