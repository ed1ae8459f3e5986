#pragma once
// A settings block of the test's own as this process's shared block, for the life of the object.

#include "core/GlobalCustoms.h"

class TTestCustoms {
public:
    explicit TTestCustoms(TGlobalCustoms initial = DefaultCustoms()) : block_(initial) { SetSharedCustoms(&block_); }
    TTestCustoms(const TTestCustoms&) = delete;
    TTestCustoms& operator=(const TTestCustoms&) = delete;
    ~TTestCustoms() { SetSharedCustoms(nullptr); }

    TGlobalCustoms& Block() { return block_; }
    TGlobalCustoms* operator->() { return &block_; }

private:
    TGlobalCustoms block_;
};
