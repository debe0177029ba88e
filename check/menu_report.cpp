// Writing a dry run's association menu.
#include "check/menu_report.h"

#include "check/effect_text.h"
#include "check/row_preview.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "menu/menu_title.h"
#include "settings/association_table.h"

namespace {

const Text submenuMark{"  (サブメニュー)", "  (submenu)"};
const Text newColumn{"(ここから新しい列)", "(a new column begins here)"};
const Text keyMark{"  [キー {1}]", "  [key {1}]"};
const Text programItem{"プログラム {1}: URL を受け取ります", "program {1}: it gets the URL"};
const Text programOwner{"プログラム {1}", "program {1}"};
const Text soleItem{"プログラム {1} の、ただ一つのサブコマンド {2}", "program {1}, its one sub-command {2}"};
const Text runItem{"{1}", "{1}"};
const Text runEachItem{"{1}: URL ごとに起動", "{1}: once for every URL"};
const Text downloadItem{"{1}: 保存してから開く", "{1}: download, then open"};
const Text loaderItem{"{1}: ダウンロードプログラムで保存してから開く", "{1}: download with the loader, then open"};
const Text groupItem{"グループ {1}", "group {1}"};
const Text titleItem{"タイトル項目: URL そのもの", "the title item: the URL itself"};
const Text givenItem{" (元の URL を渡します)", " (given the URLs as given)"};
const Text choosing{"選ぶと: ", "chosen: "};

// A menu label without its "&" key marks ("&&" is a plain "&"), and the
// key it marks.
std::string withoutKeyMarks(const std::string& label, std::string& key) {
    std::string shown;
    key.clear();
    for (std::size_t i = 0; i < label.size();) {
        const std::size_t step = text::charLength(label, i);
        if (step == 1 && label[i] == '&' && i + 1 < label.size()) {
            if (label[i + 1] == '&') {
                shown += '&';
                i += 2;
                continue;
            }
            const std::size_t next = text::charLength(label, i + 1);
            if (key.empty()) key = label.substr(i + 1, next);
            ++i;
            continue;
        }
        shown.append(label, i, step);
        i += step;
    }
    return shown;
}

bool choosable(const MenuItemDef& item) {
    if (item.flags & (menuItemSeparator | menuItemSubmenu | menuItemGroup)) return false;
    if (item.id == menuIdTitle) return true;
    const int k = item.id - menuIdRowBase;
    if (k < 0 || k >= associationTable.itemCount) return false;
    const int kind = associationTable.items[static_cast<std::size_t>(k)].kind;
    return kind == itemProgram || kind == itemSubCommand || kind == itemSoleSubCommand;
}

// The effects of choosing an item, as the menu would carry the choice out.
std::vector<Effect> choiceEffects(DryRun& run, int id, const std::vector<UrlEntry>& targets) {
    const AssociationTable table = associationTable;
    const std::size_t mark = run.log.all().size();
    chooseMenuItemDry(id, targets);
    std::vector<Effect> chosen(run.log.all().begin() + static_cast<long>(mark), run.log.all().end());
    run.log.truncate(mark);
    // A choice may start a nested dispatch; the rows read back as they were.
    associationTable = table;
    return chosen;
}

}  // namespace

std::string itemDetail(const Report& r, const MenuItemDef& item) {
    if (item.id == menuIdTitle) return r.say(titleItem);
    const int k = item.id - menuIdRowBase;
    if (k < 0 || k >= associationTable.itemCount) return std::string();
    const AssociationItem& row = associationTable.items[static_cast<std::size_t>(k)];
    std::string detail;
    auto subText = [&](const AssociationItem& sub) {
        switch (sub.subKind) {
            case subRunEach: return r.say(runEachItem, {"]" + sub.command});
            case subDownload: return r.say(downloadItem, {"*" + sub.folder + ">" + sub.command});
            case subLoaderDownload: return r.say(loaderItem, {"#" + sub.folder + ">" + sub.command});
            default: return r.say(runItem, {">" + sub.command});
        }
    };
    switch (row.kind) {
        case itemProgram:
            detail = row.subCount > 0 ? r.say(programOwner, {row.command}) : r.say(programItem, {row.command});
            break;
        case itemSoleSubCommand: {
            const AssociationItem& owner = associationTable.items[static_cast<std::size_t>(row.owner)];
            detail = r.say(soleItem, {owner.command, subText(row)});
            break;
        }
        case itemSubCommand: detail = subText(row); break;
        case itemGroupOpen: return r.say(groupItem, {row.caption});
        default: return std::string();
    }
    if (rowWantsGivenUrls(row)) detail += r.say(givenItem);
    return detail;
}

void MenuWriter::write(const MenuLayout& menu, int depth) {
    for (const MenuItemDef& item : menu) {
        const std::string indent(static_cast<std::size_t>(2 + 4 * depth), ' ');
        if (item.flags & menuItemSeparator) {
            if (text) text->raw(indent + "----------");
            else *tsv += "@item\t" + std::to_string(item.id) + "\t" + std::to_string(depth) + "\tseparator\n";
            continue;
        }
        if ((item.flags & menuItemColumnBreak) && text) text->raw(indent + text->say(newColumn));
        std::string label = item.label;
        if (item.iconSource != iconNone && !label.empty() && label[0] == ' ') label.erase(0, 1);
        std::string key;
        const std::string shown = withoutKeyMarks(label, key);
        const bool submenu = (item.flags & (menuItemSubmenu | menuItemGroup)) != 0;
        if (text) {
            std::string head = indent + shown;
            if (submenu) head += text->say(submenuMark);
            if (!key.empty()) head += text->say(keyMark, {key});
            text->raw(head);
            const std::string detail = itemDetail(*text, item);
            if (!detail.empty()) text->raw(indent + "    " + detail);
        } else {
            Report silent(Language::english, *tsv);
            std::string kind = (item.flags & menuItemColumnBreak) ? "column-" : "";
            kind += item.id == menuIdTitle ? "title" : submenu ? "submenu" : "item";
            *tsv += "@item\t" + std::to_string(item.id) + "\t" + std::to_string(depth) + "\t" + kind + "\t" +
                    shown + "\t" + key + "\t" + itemDetail(silent, item) + "\n";
        }
        if (choosable(item)) {
            bool first = true;
            for (const Effect& e : choiceEffects(run, item.id, targets)) {
                if (text) {
                    const std::string lead = text->say(choosing);
                    text->raw(indent + "    " + (first ? lead : std::string(lead.size(), ' ')) +
                              effectWords(e, text->language()));
                } else {
                    *tsv += "@chosen\t" + std::to_string(item.id) + "\t" + effectTsv(e) + "\n";
                }
                first = false;
            }
        }
        if (item.flags & menuItemSubmenu) write(item.children, depth + 1);
        if (item.flags & menuItemGroup)
            write(buildAssociationLayout(associationTable, item.id - menuIdRowBase, 1, options), depth + 1);
    }
}

MenuLayout menuAsShown(const std::vector<UrlEntry>& targets, const MenuLayoutOptions& options) {
    if (!targets.empty()) text::assignCut(runState.currentTarget, targets[0].url, cap::url);
    urlList.urlCount = static_cast<int>(targets.size());
    const std::string title = associationMenuTitle();
    urlList.urlCount = 0;
    return associationMenuLayout(associationTable, title, options);
}
