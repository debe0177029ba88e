// The host of a web link that unwrapping took out of a redirect link, made
// what browsers read in it. A target is written for the browser: its host
// may be percent-escaped UTF-8 ("b%C3%BCcher.example"), and a '\' may end
// its host as a '/' does. Tavrin's host blocks, the check tool and the
// programs it starts must see the host the browser opens.
#pragma once
#include <string>
#include <string_view>

// Where a web link's host part (user information and port included)
// ends: at the first '/', '?', '#' or '\' after "://", read by whole
// characters (a '\' can be the trail byte of a double-byte character).
std::size_t authorityEnd(std::string_view url, std::size_t from);

// `url` ("http://" or "https://" ...) with a '\' that ends its host
// written '/', and a host holding escapes of UTF-8 decoded and then given
// as a host given directly is (links/host_text.h: code page bytes, the
// ASCII form browsers make, or escapes where browsers refuse it). Escapes
// that are no UTF-8, or stand for a blank, a control or a quote, leave the
// host as it is.
std::string withBrowserHost(std::string_view url);
