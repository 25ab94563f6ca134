#pragma once

#include <string>
#include <string_view>

class DibPicture;

// What a scene asks of the browser behind it: the current page's
// picture-name rule, picture loading, and a page to open when there is no
// picture window to show a picture in.
class SceneHost {
  public:
    virtual ~SceneHost() = default;

    virtual std::string PictureName(const std::string& name) = 0;
    virtual bool LoadPicture(std::string_view name, DibPicture& picture) = 0;
    virtual void OpenPage(const std::string& fileName) = 0;
};
