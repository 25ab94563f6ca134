#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Archive;
class DibPicture;
struct GameState;

// A scene of the message window, played from a scenario text of "Text.arc":
// "tousNN.txt" for the message pages, "sugaNN.txt" for the notes. The scene
// decides what comes next; the message window animates it and the story
// runner steps through it without a window.

enum class ScenarioKind { Note = 0, Message = 1 };

std::string ScenarioFileName(ScenarioKind kind, int number);

// The used lines of a scenario text: every CR and LF ends a line, and only
// lines that begin with a double-byte character are kept; the others are
// comments.
std::vector<std::string> SplitScenarioLines(const uint8_t* text, size_t size);

enum class LineKind { Password, Picture, Label, Text };
// The kinds are tested in this order: "□ＰＡＳＳＷＯＲＤ", "□", "［", anything else.
LineKind ClassifyScenarioLine(std::string_view line);

// The number of a picture line, from the second bytes of the four characters
// after its first (bytes 3, 5, 7 and 9), each a full-width digit. Nothing for
// a line too short to hold them or holding something else there.
std::optional<int> ScenePictureNumber(std::string_view line);
// "pict%04dm.bmp" for a message scene, "pict%04d.bmp" for a note.
std::string ScenePictureName(ScenarioKind kind, int number);

// The picture window's picture: 640 x 480, white when a scene opens. The file
// kScenePictureFormat, loaded into it first, only gives its format; without
// it, or with one of another size, the picture is a blank 24-bit one.
inline constexpr int kScenePictureWidth = 640;
inline constexpr int kScenePictureHeight = 480;
inline constexpr char kScenePictureFormat[] = "pict0100.bmp";
void WhitenScenePicture(DibPicture& loaded);

struct SceneStep {
    enum class Kind { Text, Label, Picture, Password, End };
    Kind kind = Kind::End;
    std::string line;     // the text or label line
    std::string picture;  // a picture step's file name, before the picture-name rule
    int slot = -1;        // a password step's slot
};

class Scene {
  public:
    // Loads the scenario text; a text the archive lacks (or cannot decode)
    // plays as an empty one and gives false.
    bool Load(const Archive& textArchive, ScenarioKind kind, int number);
    // The same from the text's bytes.
    void LoadFromBytes(ScenarioKind kind, int number, const uint8_t* text, size_t size);

    // The next thing to show. Password lines of a solved slot, and picture
    // lines without a readable number, pass without a step; a password line
    // in a text numbered outside the slots has nothing to ask and passes too.
    SceneStep Next(const GameState& state);
    // The prompt of the last password step was accepted; its flag is set.
    void PasswordAccepted(GameState& state);

    ScenarioKind kind() const { return kind_; }
    int number() const { return number_; }
    const std::string& fileName() const { return fileName_; }
    const std::vector<std::string>& lines() const { return lines_; }
    bool finished() const { return next_ >= lines_.size(); }

  private:
    ScenarioKind kind_ = ScenarioKind::Note;
    int number_ = 0;
    std::string fileName_;
    std::vector<std::string> lines_;
    size_t next_ = 0;
};
