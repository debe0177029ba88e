// No source program natively: the core's tests give their own answers.
#include "platform/process_query.h"

namespace platform {
namespace {

class NoProcessQuery final : public ProcessQuery {
public:
    ProcessId ownProcess() override { return 0; }
    void noteForeground() override {}
    ProcessId foregroundProcess() override { return 0; }
    ProcessId framedProcess() override { return 0; }
    bool imagePath(ProcessId, std::string&) override { return false; }
    ProcessId parentProcess(ProcessId, std::string&) override { return 0; }
};

}  // namespace

ProcessQuery& nativeProcessQuery() {
    static NoProcessQuery query;
    return query;
}

}  // namespace platform
