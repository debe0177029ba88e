// What a dry run saw Tavrin do, in order: every start, download, message,
// pause, hand-over and window it would have made, recorded instead of done.
#pragma once
#include <string>
#include <vector>

struct Effect {
    enum class Kind {
        start,          // ShellExecuteA: file, parameters, directory
        download,       // an HTTP download: file = URL, parameters = local path
        loaderStart,    // the "@loader=" program: file, parameters
        loaderSaves,    // where Tavrin waits for the loader's file: file
        createFile,     // an empty settings file: file
        createFolder,   // file
        deleteItems,    // file = the first item of the list
        message,        // a message box: file = text, parameters = caption
        pause,          // number = milliseconds
        handOver,       // "%S": file = service (empty: the "@dde=" ones),
                        // parameters = URL, directory = fallback program
        browserSend,    // the bridge offers the URL: file = service, parameters = URL
        browserQuery,   // the bridge asks for the browser's page: file = service
        menu,           // number = 1 for the tools menu, 0 for the association menu
        listWindow,     // the list window opens
    };
    Kind kind = Kind::start;
    std::string file, parameters, directory;
    int number = 0;
    // A start that happens only when no browser takes the URL offered.
    bool ifNoBrowserTakes = false;
    // A start right after a hand-over that asked no browser at all: why.
    enum class Unasked { no, noBridge, noBrowserNamed };
    Unasked unasked = Unasked::no;
};

class EffectLog {
public:
    void add(Effect effect) { effects_.push_back(std::move(effect)); }
    const std::vector<Effect>& all() const { return effects_; }
    void clear() { effects_.clear(); }
    // Forgets the effects after the first `count`.
    void truncate(std::size_t count) {
        if (count < effects_.size()) effects_.resize(count);
    }
    // The latest download written to `localPath` is saved as `savedPath`.
    void renameDownload(const std::string& localPath, const std::string& savedPath) {
        for (auto it = effects_.rbegin(); it != effects_.rend(); ++it) {
            if (it->kind != Effect::Kind::download || it->parameters != localPath) continue;
            it->parameters = savedPath;
            return;
        }
    }
    // True when a browser was offered a URL after the latest hand-over.
    bool browserOfferedSinceHandOver() const;
    // True when the latest effect is a hand-over: nothing was offered to
    // any browser after it.
    bool handOverJustMade() const {
        return !effects_.empty() && effects_.back().kind == Effect::Kind::handOver;
    }

private:
    std::vector<Effect> effects_;
};
