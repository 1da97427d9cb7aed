#pragma once
// A flag that says "this is under way further down the stack" must drop again however that
// work ends: a fault that unwinds past it would otherwise leave it set for good.

namespace tov {

class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
};

} // namespace tov
