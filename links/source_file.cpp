// Reading a link source into its two buffers. Memory that cannot be had
// refuses the file like a file that cannot be opened.
#include "links/source_file.h"

#include <cstring>
#include <new>

#include "platform/platform.h"

bool LinkSourceText::read(const std::string& path) {
    try {
        std::string file;
        // One byte more than the limit tells a file that is too large.
        if (!platform::os().readFile(path, file, maxLinkSourceBytes + 1, false)) return false;
        if (file.size() > maxLinkSourceBytes) return false;
        const std::size_t length = std::strlen(file.c_str());
        // Three times the file for what the converter writes, and its zero.
        const std::size_t capacity = 3 * file.size() + 1;
        // Zero-filled memory of this size comes from the system untouched:
        // it costs nothing until a converter writes into it.
        std::unique_ptr<char, Free> work(static_cast<char*>(std::calloc(capacity, 1)));
        if (!work) return false;
        file_ = std::move(file);
        originalLength_ = length;
        work_ = std::move(work);
        workCapacity_ = capacity;
        inWork_ = false;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool LinkSourceText::takeConverted() {
    if (!work_ || inWork_) return inWork_;
    // Whatever a converter wrote, the text ends inside its buffer.
    work_.get()[workCapacity_ - 1] = '\0';
    if (work_.get()[0] == '\0' && originalLength_ > 0) return false;
    const void* end = std::memchr(work_.get(), '\0', workCapacity_);
    workLength_ = static_cast<std::size_t>(static_cast<const char*>(end) - work_.get());
    inWork_ = true;
    std::string().swap(file_);
    return true;
}

std::string_view LinkSourceText::text() const {
    if (!work_) return std::string_view();
    if (!inWork_) return std::string_view(file_.data(), originalLength_);
    return std::string_view(work_.get(), workLength_);
}

void LinkSourceText::crToLf() {
    if (!work_) return;
    char* text = inWork_ ? work_.get() : &file_[0];
    const std::size_t length = this->text().size();
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == '\r' && (i + 1 == length || text[i + 1] != '\n')) text[i] = '\n';
    }
}
