// Owners for Win32 resources that must be given back on every way out of a
// function: kernel handles, find handles, an open clipboard, a locked
// global block, a WinINet handle, a registry key. Non-copyable; kernel
// handles can be moved to a longer-lived owner.
#pragma once
#include "platform/win32/win.h"

namespace win {

// A kernel handle closed with CloseHandle; null and INVALID_HANDLE_VALUE
// both mean "none" since Win32 uses either as the failure value.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE h) : h_(h) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
    ScopedHandle& operator=(ScopedHandle&& o) noexcept {
        if (this != &o) { reset(); h_ = o.h_; o.h_ = nullptr; }
        return *this;
    }

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE h = nullptr) {
        if (valid()) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// A FindFirstFileA search, ended with FindClose.
class ScopedFind {
public:
    explicit ScopedFind(HANDLE h) : h_(h) {}
    ~ScopedFind() { if (valid()) FindClose(h_); }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// The clipboard opened for one window, closed again when this ends.
class ScopedClipboard {
public:
    explicit ScopedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ScopedClipboard() { if (open_) CloseClipboard(); }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;

    bool open() const { return open_; }

private:
    bool open_;
};

// A WinINet handle (session, connection or request), closed with
// InternetCloseHandle.
class ScopedInternet {
public:
    explicit ScopedInternet(HINTERNET h = nullptr) : h_(h) {}
    ~ScopedInternet() { reset(); }
    ScopedInternet(const ScopedInternet&) = delete;
    ScopedInternet& operator=(const ScopedInternet&) = delete;

    HINTERNET get() const { return h_; }
    bool valid() const { return h_ != nullptr; }
    void reset(HINTERNET h = nullptr) {
        if (h_) InternetCloseHandle(h_);
        h_ = h;
    }

private:
    HINTERNET h_;
};

// An open registry key, closed with RegCloseKey.
class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey() { if (h_) RegCloseKey(h_); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    HKEY get() const { return h_; }
    // For RegOpenKeyEx to fill; the key held before is closed.
    HKEY* put() {
        if (h_) RegCloseKey(h_);
        h_ = nullptr;
        return &h_;
    }

private:
    HKEY h_ = nullptr;
};

// A global memory block locked for reading or writing.
template <typename T>
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL block)
        : block_(block), data_(block ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
    ~ScopedGlobalLock() { if (data_) GlobalUnlock(block_); }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

    T* get() const { return data_; }
    // The size of the block, which may exceed what was asked for.
    SIZE_T size() const { return data_ ? GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    T* data_;
};

}  // namespace win
