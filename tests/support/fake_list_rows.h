// Rows of the link list held in a plain table, for tests of the list logic
// without a window.
#pragma once
#include <string>
#include <vector>

#include "links/list_rows.h"

class FakeListRows final : public ListRows {
public:
    struct Row {
        std::string title, url;
        bool checked = false;
    };
    std::vector<Row> table;
    int selected = -1;

    int count() override { return static_cast<int>(table.size()); }
    std::string text(int row, int column) override {
        return column == titleColumn ? table.at(row).title : table.at(row).url;
    }
    bool checked(int row) override { return table.at(row).checked; }
    void setChecked(int row, bool on) override { table.at(row).checked = on; }
    int selectedRow() override { return selected; }
    void append(const std::string& title, const std::string& url) override {
        table.push_back({title, url, false});
    }
    void remove(int row) override { table.erase(table.begin() + row); }
    void clear() override { table.clear(); }

    // Rows given as URLs; a leading "+" marks a checked row.
    static FakeListRows of(const std::vector<std::string>& urls) {
        FakeListRows rows;
        for (const std::string& u : urls) {
            const bool on = !u.empty() && u[0] == '+';
            rows.table.push_back({"", on ? u.substr(1) : u, on});
        }
        return rows;
    }
    std::vector<std::string> urls() const {
        std::vector<std::string> out;
        for (const Row& r : table) out.push_back(r.url);
        return out;
    }
    std::string checks() const {
        std::string out;
        for (const Row& r : table) out += r.checked ? 'x' : '.';
        return out;
    }
};
