// Objects made with +alloc/-init: owned by ARC on the Mac, handed to the autorelease pool where
// the same file is built without ARC (its tests under GNUstep). Everything else uses
// autoreleased convenience constructors, which mean the same in both modes.
#pragma once

#import <Foundation/Foundation.h>

#if __has_feature(objc_arc)
#define TIDRA_MADE(expression) (expression)
#else
#define TIDRA_MADE(expression) ([(expression) autorelease])
#endif

// An object a C++ object keeps: a strong reference under ARC, retained by hand without it.
template <typename T>
class Retained {
  public:
    Retained() = default;
    explicit Retained(T* object) : object_(object) { retain(); }
    Retained(const Retained& other) : object_(other.object_) { retain(); }
    Retained& operator=(const Retained& other) {
        if (this != &other) {
            release();
            object_ = other.object_;
            retain();
        }
        return *this;
    }
    ~Retained() { release(); }
    T* get() const { return object_; }

  private:
#if __has_feature(objc_arc)
    void retain() {}
    void release() {
        object_ = nil;
    }
#else
    void retain() {
        [object_ retain];
    }
    void release() {
        [object_ release];
        object_ = nil;
    }
#endif
    T* object_ = nil;
};
