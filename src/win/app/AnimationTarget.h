#pragma once

// What idle time animates: the main frame's logo.
class AnimationTarget {
  public:
    virtual void DrawLogoFrame() = 0;

  protected:
    ~AnimationTarget() = default;
};
