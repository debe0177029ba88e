// Local State through the JSON parser's event interface: only the members
// wanted are kept, nesting of any depth costs a counter, and a parse error
// keeps what was complete before it. Members of profile.info_cache become
// profiles when their object closes.
#include "check/local_state.h"

#include <map>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

// Name fields in the order they stand in for the name.
const char* const nameFields[] = {"name", "shortcut_name", "gaia_given_name", "gaia_name"};
constexpr int nameFieldCount = 4;

class LocalStateEvents final : public nlohmann::json_sax<Json> {
public:
    LocalStateProfiles result;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }

    bool string(string_t& value) override {
        if (inEntry() && depth_ == 4) {
            for (int f = 0; f < nameFieldCount; ++f)
                if (keyAt(4) == nameFields[f] && value.size() <= maxProfileText) names_[f] = value;
        } else if (depth_ == 3 && isArray(3) && inProfile() && keyAt(2) == "profiles_order") {
            if (value.size() <= maxProfileText && order_.size() < maxLocalStateProfiles * 4)
                order_.push_back(value);
        }
        return true;
    }
    bool start_object(std::size_t) override {
        open(false);
        if (depth_ == 4 && inInfoCache()) {
            entryOpen_ = true;
            for (auto& n : names_) n.clear();
        }
        return true;
    }
    bool end_object() override {
        if (depth_ == 4 && entryOpen_) commit();
        close();
        return true;
    }
    bool start_array(std::size_t) override {
        open(true);
        return true;
    }
    bool end_array() override {
        close();
        return true;
    }
    bool key(string_t& name) override {
        if (depth_ >= 1 && depth_ <= kept) keys_[depth_ - 1] = name.size() <= maxProfileText ? name : std::string();
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

    void finish(bool parsed) {
        result.complete = parsed;
        // profiles_order first, then the rest in the order of the file.
        std::vector<bool> placed(entries_.size(), false);
        for (const std::string& folder : order_) {
            const auto found = index_.find(folder);
            if (found == index_.end() || placed[found->second]) continue;
            placed[found->second] = true;
            result.profiles.push_back(entries_[found->second]);
        }
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (!placed[i]) result.profiles.push_back(entries_[i]);
    }

private:
    static constexpr int kept = 4;  // levels whose keys and kinds are kept
    int depth_ = 0;
    bool arrays_[kept] = {};
    std::string keys_[kept];
    bool entryOpen_ = false;
    std::string names_[nameFieldCount];
    std::vector<ChromiumProfile> entries_;
    std::map<std::string, std::size_t> index_;
    std::vector<std::string> order_;

    void open(bool array) {
        ++depth_;
        if (depth_ <= kept) {
            arrays_[depth_ - 1] = array;
            keys_[depth_ - 1].clear();
        }
    }
    void close() {
        if (depth_ == 4) entryOpen_ = false;
        --depth_;
    }
    const std::string& keyAt(int level) const { return keys_[level - 1]; }
    bool isArray(int level) const { return arrays_[level - 1]; }
    bool isObject(int level) const { return !arrays_[level - 1]; }
    bool inProfile() const { return depth_ >= 2 && isObject(1) && isObject(2) && keyAt(1) == "profile"; }
    bool inInfoCache() const {
        return depth_ >= 3 && inProfile() && keyAt(2) == "info_cache" && isObject(3) && !keyAt(3).empty();
    }
    bool inEntry() const { return entryOpen_ && depth_ >= 4; }

    void commit() {
        entryOpen_ = false;
        ChromiumProfile profile;
        profile.folder = keyAt(3);
        for (const auto& n : names_)
            if (profile.name.empty()) profile.name = n;
        // A later member of the same name stands for the earlier one, as
        // in the browser's own reading.
        const auto found = index_.find(profile.folder);
        if (found != index_.end()) {
            entries_[found->second] = profile;
            return;
        }
        if (entries_.size() >= maxLocalStateProfiles) {
            result.more = true;
            return;
        }
        index_.emplace(profile.folder, entries_.size());
        entries_.push_back(std::move(profile));
    }
};

}  // namespace

LocalStateProfiles readLocalState(std::string_view json) {
    LocalStateEvents events;
    const bool parsed = Json::sax_parse(json.begin(), json.end(), &events);
    events.finish(parsed);
    return std::move(events.result);
}
