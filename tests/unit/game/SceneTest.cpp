#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../../support/MessageRecorder.h"
#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "game/GameState.h"
#include "game/Scene.h"
#include "game/Typewriter.h"
#include "picture/DibPicture.h"

namespace {

using Lines = std::vector<std::string>;

Lines Split(const std::string& text) {
    return SplitScenarioLines(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// What a scene shows, one step a line: "text:", "label:", "picture:" with the
// file name, "password:" with the slot.
Lines Play(Scene& scene, const GameState& state) {
    Lines out;
    for (;;) {
        const SceneStep step = scene.Next(state);
        switch (step.kind) {
            case SceneStep::Kind::Text:
                out.push_back("text:" + step.line);
                break;
            case SceneStep::Kind::Label:
                out.push_back("label:" + step.line);
                break;
            case SceneStep::Kind::Picture:
                out.push_back("picture:" + step.picture);
                break;
            case SceneStep::Kind::Password:
                out.push_back("password:" + std::to_string(step.slot));
                break;
            case SceneStep::Kind::End:
                return out;
        }
    }
}

TEST(Scene, OnlyLinesThatBeginWithADoubleByteCharacterAreUsed) {
    EXPECT_EQ(Split("霧の夜\r\n\r\n// 注釈\r\n坂の下\n\r［港］\rｶﾀｶﾅ\n\n"),
              (Lines{"霧の夜", "坂の下", "［港］"}));
    EXPECT_EQ(Split(""), Lines{});
    EXPECT_EQ(Split("\r\n\r\n"), Lines{});
    // A zero byte ends a line too; the last line needs no line end.
    EXPECT_EQ(Split(std::string("一\0二", 5) + "\r三"), (Lines{"一", "二", "三"}));
}

TEST(Scene, LineKindsAreTestedInOrder) {
    EXPECT_EQ(ClassifyScenarioLine("□ＰＡＳＳＷＯＲＤ［鍵］"), LineKind::Password);
    EXPECT_EQ(ClassifyScenarioLine("□０１２３"), LineKind::Picture);
    EXPECT_EQ(ClassifyScenarioLine("［第一灯］□"), LineKind::Picture);
    EXPECT_EQ(ClassifyScenarioLine("［第一灯］"), LineKind::Label);
    EXPECT_EQ(ClassifyScenarioLine("霧が出た。"), LineKind::Text);
}

TEST(Scene, PictureNumbersComeFromFixedBytes) {
    EXPECT_EQ(ScenePictureNumber("□０１２３"), 123);
    EXPECT_EQ(ScenePictureNumber("□９９９９ 余り"), 9999);
    EXPECT_EQ(ScenePictureNumber("□０１２"), std::nullopt);   // too short
    EXPECT_EQ(ScenePictureNumber("□０１a３"), std::nullopt);  // not a digit where one must be
    EXPECT_EQ(ScenePictureNumber("□０１２Ａ"), std::nullopt);
    EXPECT_EQ(ScenePictureName(ScenarioKind::Message, 123), "pict0123m.bmp");
    EXPECT_EQ(ScenePictureName(ScenarioKind::Note, 123), "pict0123.bmp");
}

TEST(Scene, StepsInFileOrderAndSolvedPromptsPass) {
    const std::string text =
        "［第三灯　岬］\r\n灯台の下で待つ。\r\n□０１０２\r\n□１２\r\n□ＰＡＳＳＷＯＲＤ\r\n終わり。"
        "\r\n";
    GameState state = GameState::NewGame();
    Scene scene;
    scene.LoadFromBytes(ScenarioKind::Message, 2, reinterpret_cast<const uint8_t*>(text.data()),
                        text.size());
    EXPECT_EQ(scene.fileName(), "tous02.txt");
    EXPECT_EQ(Play(scene, state), (Lines{"label:［第三灯　岬］", "text:灯台の下で待つ。",
                                         "picture:pict0102m.bmp", "password:2", "text:終わり。"}));

    state.passwordSolved[2] = 1;
    scene.LoadFromBytes(ScenarioKind::Note, 2, reinterpret_cast<const uint8_t*>(text.data()),
                        text.size());
    EXPECT_EQ(Play(scene, state), (Lines{"label:［第三灯　岬］", "text:灯台の下で待つ。",
                                         "picture:pict0102.bmp", "text:終わり。"}));
}

TEST(Scene, APromptAsksForTheTextsOwnSlotAndPassesPastTheLastSlot) {
    const std::string text = "□ＰＡＳＳＷＯＲＤ\r\n終わり。\r\n";
    // All zeros: no flag anywhere, so only the slot bound can let a prompt pass.
    const GameState zeroed;
    std::vector<Lines> played;
    for (int number : {0, 15, 16, 17}) {
        Scene scene;
        scene.LoadFromBytes(ScenarioKind::Message, number,
                            reinterpret_cast<const uint8_t*>(text.data()), text.size());
        played.push_back(Play(scene, zeroed));
    }
    EXPECT_EQ(played, (std::vector<Lines>{{"password:0", "text:終わり。"},
                                          {"password:15", "text:終わり。"},
                                          {"text:終わり。"},
                                          {"text:終わり。"}}));
}

TEST(Scene, MissingTextPlaysAsAnEmptyOne) {
    MessageRecorder messages;
    TempDir dir;
    WriteBytes(dir.File("Text.arc"),
               *BuildArchive({{"tous01.txt", Bytes("［一］\r\n二行目\r\n")}}));
    Archive text;
    text.Open(dir.File("Text.arc"));
    Scene scene;
    EXPECT_TRUE(scene.Load(text, ScenarioKind::Message, 1));
    EXPECT_EQ(scene.lines().size(), 2u);
    EXPECT_FALSE(scene.Load(text, ScenarioKind::Note, 1));
    EXPECT_TRUE(scene.lines().empty());
    EXPECT_EQ(scene.Next(GameState::NewGame()).kind, SceneStep::Kind::End);
}

// A fixed-pitch measure: double-byte characters 16 x 20, single bytes 8 x 20.
CharExtent Measure(std::string_view character) {
    return {character.size() == 2 ? 16 : 8, 20};
}

// Types a whole line and gives each character's place as "x,y".
Lines Type(Typewriter& typewriter, const std::string& line, int clientWidth) {
    Lines places;
    typewriter.StartLine(line);
    while (auto glyph = typewriter.Tick(clientWidth, Measure)) {
        places.push_back(std::to_string(glyph->x) + "," + std::to_string(glyph->y));
    }
    return places;
}

TEST(Scene, ThePictureWindowStartsWhiteInTheFormatPictureOrABlank24BitOne) {
    const auto blank = [](int width, int height, uint16_t bits) {
        BitmapInfoHeader header;
        header.width = width;
        header.height = height;
        header.bitCount = bits;
        DibPicture picture;
        picture.CreateBlank(header);
        return picture;
    };
    const auto allWhite = [](const DibPicture& picture) {
        const uint8_t* pixels = picture.pixels();
        return std::all_of(pixels, pixels + picture.pixelBytes(),
                           [](uint8_t b) { return b == 0xFF; });
    };

    // The format file's own format is kept, its pixels turned white.
    DibPicture format = blank(640, 480, 32);
    WhitenScenePicture(format);
    EXPECT_EQ(format.header().bitCount, 32);
    EXPECT_TRUE(allWhite(format));

    // Missing, or one pixel short either way: a blank 640 x 480 x 24 one.
    std::vector<DibPicture> others;
    others.emplace_back();
    others.push_back(blank(639, 480, 32));
    others.push_back(blank(640, 479, 32));
    for (DibPicture& picture : others) {
        WhitenScenePicture(picture);
        EXPECT_EQ(picture.width(), 640);
        EXPECT_EQ(picture.height(), 480);
        EXPECT_EQ(picture.header().bitCount, 24);
        EXPECT_EQ(picture.pixelBytes(), 640u * 480u * 3u);
        EXPECT_TRUE(allWhite(picture));
    }
}

TEST(Typewriter, ACharacterWrapsOnlyWhenItWouldEndPastTheRightLimit) {
    TypewriterMemory memory;
    Typewriter typewriter(memory);
    // Width 80: the limit is 64, so the fourth character ends exactly on it
    // and stays; the fifth would end at 80 and wraps.
    EXPECT_EQ(Type(typewriter, "一二三四五", 80),
              (Lines{"10,10", "26,10", "42,10", "58,10", "10,33"}));
    EXPECT_EQ(typewriter.penX(), 16);
    EXPECT_EQ(typewriter.penY(), 23);
    EXPECT_FALSE(typewriter.typing());

    // At the end of a line the same test decides whether the pen starts a
    // new row: ending on the limit keeps it, ending past it does not.
    typewriter.ResetPen();
    Type(typewriter, "一二三", 80);
    EXPECT_EQ(typewriter.penX(), 48);
    EXPECT_EQ(typewriter.penY(), 0);
    Type(typewriter, "四", 80);
    EXPECT_EQ(typewriter.penX(), 0);
    EXPECT_EQ(typewriter.penY(), 23);
}

TEST(Typewriter, PunctuationThatNeverBeginsARowHangsPastTheLimit) {
    for (const char* hanging : {"、", "。", "」", "！", "？"}) {
        TypewriterMemory memory;
        Typewriter typewriter(memory);
        EXPECT_EQ(Type(typewriter, std::string("一二三四") + hanging + "五", 80),
                  (Lines{"10,10", "26,10", "42,10", "58,10", "74,10", "10,33"}))
            << hanging;
        // A line that ends on it leaves the pen on a new row for the next.
        typewriter.ResetPen();
        EXPECT_EQ(Type(typewriter, std::string("一二三四") + hanging, 80).back(), "74,10");
        EXPECT_EQ(typewriter.penX(), 0);
        EXPECT_EQ(typewriter.penY(), 23);
    }
    // Any other character wraps, full-width comma and "「" included.
    for (const char* other : {"，", "「", "・"}) {
        TypewriterMemory memory;
        Typewriter typewriter(memory);
        EXPECT_EQ(Type(typewriter, std::string("一二三四") + other, 80).back(), "10,33") << other;
    }
}

TEST(Typewriter, ALineWithASingleByteEndsAtItsEnd) {
    TypewriterMemory memory;
    Typewriter typewriter(memory);
    // Two bytes a tick: the last tick of a three-byte line takes one byte
    // and the position passes the end.
    EXPECT_EQ(Type(typewriter, "一a", 400), (Lines{"10,10", "26,10"}));
    EXPECT_EQ(typewriter.penX(), 24);
    EXPECT_EQ(Type(typewriter, "一a二", 400).size(), 3u);
}

TEST(Typewriter, EndMarkBlinksFromTheSharedPhase) {
    TypewriterMemory memory;
    Typewriter first(memory);
    Type(first, "一", 400);
    EXPECT_EQ(first.Blink().text, "　");
    const Typewriter::Glyph mark = first.Blink();
    EXPECT_EQ(mark.text, "▼");
    EXPECT_EQ(mark.x, 26);
    EXPECT_EQ(first.Blink().text, "　");
    // A later window starts where the last one left the phase.
    Typewriter second(memory);
    EXPECT_EQ(second.Blink().text, "▼");
    EXPECT_EQ(memory.lastCharExtent.width, 16);
}

}  // namespace
