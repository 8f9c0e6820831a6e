#include "mac/task.h"

#import <Foundation/Foundation.h>

#include "mac/objc_memory.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacTask final : public Task {
  public:
    MacTask(const std::string& launchPath, const std::vector<std::string>& arguments)
        : task_(TIDRA_MADE([[NSTask alloc] init])) {
        NSMutableArray* nativeArguments = [NSMutableArray arrayWithCapacity:arguments.size()];
        for (const std::string& argument : arguments)
            [nativeArguments addObject:toNSString(argument)];
        [task_.get() setLaunchPath:toNSString(launchPath)];
        [task_.get() setArguments:nativeArguments];
        [task_.get() setStandardOutput:[NSFileHandle fileHandleWithNullDevice]];
    }

    void setStandardOutputPipe(bool pipe) override {
        pipe_ = Retained<NSPipe>(pipe ? [NSPipe pipe] : nil);
        if (pipe)
            [task_.get() setStandardOutput:pipe_.get()];
        else
            [task_.get() setStandardOutput:[NSFileHandle fileHandleWithNullDevice]];
    }

    bool launch() override {
        // A tool that cannot be started is an error answer, not an exception.
        launched_ = [task_.get() launchAndReturnError:NULL];
        return launched_;
    }

    Data readDataToEndOfFile() override {
        if (!launched_ || pipe_.get() == nil) return {};
        NSFileHandle* output = [pipe_.get() fileHandleForReading];
        // A read that fails (the pipe torn down under it) is no output, never an exception that
        // ends Tidra: the error-returning call where the system has it, a catch before.
        if (@available(macOS 10.15, *))
            return fromNSData([output readDataToEndOfFileAndReturnError:NULL]);
        @try {
            return fromNSData([output readDataToEndOfFile]);
        } @catch (NSException* failedRead) {
            return {};
        }
    }

    void waitUntilExit() override {
        if (launched_) [task_.get() waitUntilExit];
    }

    int terminationStatus() const override {
        // The platform raises when asked about a task that never ran or still runs.
        if (!launched_ || [task_.get() isRunning]) return -1;
        return [task_.get() terminationStatus];
    }

  private:
    Retained<NSTask> task_;
    Retained<NSPipe> pipe_;
    bool launched_ = false;
};

}  // namespace

std::unique_ptr<Task> makeTask(const std::string& launchPath,
                               const std::vector<std::string>& arguments) {
    return std::make_unique<MacTask>(launchPath, arguments);
}

}  // namespace tidra::mac
