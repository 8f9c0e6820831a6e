// The process entry on a Mac: Tidra's classes over the native platform, then the application's
// main loop, which returns only if the application never ran.
#import <Foundation/Foundation.h>

#include "app/class_registry.h"
#include "mac/native_mac.h"

int main(int argc, char* argv[]) {
    @autoreleasepool {
        tidra::mac::NativeMac mac;
        const tidra::ClassRegistry classes = tidra::makeTidraClasses(mac.platform());
        if (mac.application().applicationMain(argc, argv, classes) != 0) return 1;
    }
    return 0;
}
