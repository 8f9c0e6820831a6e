// Dispatch queues (libdispatch).
#import <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#include "mac/services.h"

namespace tidra::mac {
namespace {

class MacDispatch final : public Dispatch {
  public:
    void globalQueueSync(const std::function<void()>& work) override {
        dispatch_sync(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), ^{
          work();
        });
    }
    void mainQueueAfter(std::int64_t delayNanoseconds, std::function<void()> work) override {
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, delayNanoseconds),
                       dispatch_get_main_queue(), ^{
                         work();
                       });
    }
    void mainQueueAsync(std::function<void()> work) override {
        dispatch_async(dispatch_get_main_queue(), ^{
          work();
        });
    }
};

}  // namespace

std::unique_ptr<Dispatch> makeDispatch() {
    return std::make_unique<MacDispatch>();
}

}  // namespace tidra::mac
