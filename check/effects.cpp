// The effect log.
#include "check/effects.h"

bool EffectLog::browserOfferedSinceHandOver() const {
    for (auto it = effects_.rbegin(); it != effects_.rend(); ++it) {
        if (it->kind == Effect::Kind::browserSend) return true;
        if (it->kind == Effect::Kind::handOver) return false;
    }
    return false;
}
