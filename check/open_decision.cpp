// Judging a dry run's effects.
#include "check/open_decision.h"

#include "check/effect_text.h"
#include "common/text.h"

using Kind = Effect::Kind;

Decision decide(const std::vector<Effect>& effects) {
    bool menu = false, system = false, list = false, tools = false;
    for (const Effect& e : effects) {
        switch (e.kind) {
            case Kind::start:
                if (opensBySystem(e)) system = true;
                else if (!e.ifNoBrowserTakes) return Decision::start;
                break;
            case Kind::download:
            case Kind::loaderStart:
            case Kind::handOver: return Decision::start;
            case Kind::menu: (e.number == 1 ? tools : menu) = true; break;
            case Kind::listWindow: list = true; break;
            default: break;
        }
    }
    if (menu) return Decision::menu;
    if (system) return Decision::system;
    if (list) return Decision::listWindow;
    if (tools) return Decision::toolsMenu;
    return Decision::nothing;
}

const AssociationItem* startedProgram(bool& takesAll) {
    takesAll = false;
    if (associationTable.programCount != 1) return nullptr;
    const AssociationItem& program = associationTable.items[static_cast<std::size_t>(associationTable.firstProgram)];
    if (program.subCount == 1) {
        const AssociationItem& sub = associationTable.items[static_cast<std::size_t>(program.firstSub)];
        takesAll = sub.subKind == subRunEach ||
                   (sub.subKind == subRun && text::containsNoCase(sub.command, "%M") &&
                    !text::containsNoCase(sub.command, "%S"));
    }
    return &program;
}

const char* decisionName(Decision decision) {
    static const char* const names[] = {"start", "menu", "open", "list-window", "tools-menu", "nothing"};
    return names[static_cast<int>(decision)];
}

const AssociationItem* reportedProgram(Decision decision) {
    bool takesAll = false;
    return decision == Decision::start || decision == Decision::system ? startedProgram(takesAll) : nullptr;
}

Unopened unopenedReason(Decision decision, std::size_t targets) {
    if (targets < 2) return Unopened::none;
    if (decision == Decision::system) return Unopened::systemFirst;
    if (decision != Decision::start) return Unopened::none;
    bool takesAll = false;
    if (!startedProgram(takesAll) || takesAll) return Unopened::none;
    return Unopened::firstOnly;
}
