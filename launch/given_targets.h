// The targets of a row that asks for the URLs as given ("!" program
// lines): for as long as the row runs, urlList holds the URLs as they were
// before link cleaning; afterwards the clean ones are back.
#pragma once
#include <string>
#include <vector>

class GivenTargets {
public:
    // With `on` false nothing changes.
    explicit GivenTargets(bool on);
    ~GivenTargets();
    GivenTargets(const GivenTargets&) = delete;
    GivenTargets& operator=(const GivenTargets&) = delete;

private:
    struct Swapped {
        int index;
        std::string clean;
    };
    std::vector<Swapped> swapped_;
};
