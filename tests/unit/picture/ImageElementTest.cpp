#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../html/PageTestSupport.h"
#include "picture/DibPicture.h"
#include "picture/ImageElement.h"
#include "text/ShiftJis.h"

namespace {

TEST(ImageElement, TransparentNamesEndInSOrSmBeforeTheExtension) {
    for (const char* name : {"logos.bmp", "iconsm.bmp", "LOGOS.BMP", "IconSM.Jpg", "s.gif",
                             "banners.jpg", "arrowsm.gif", "s.bmp"}) {
        EXPECT_TRUE(ImageElement::IsTransparentName(name)) << name;
    }
    for (const char* name :
         {"logo.bmp", "logos.png", "logosbmp", "", ".bmp", "logos.bmp ", "sm.bmpx", "logom.bmp"}) {
        EXPECT_FALSE(ImageElement::IsTransparentName(name)) << name;
    }
}

class ImageElementDraw : public ::testing::Test {
  protected:
    void SetUp() override {
        // 30 x 20 pixels, drawn here at 100 x 50.
        const std::vector<uint8_t> file = MakeBmp(30, 20, 24);
        ASSERT_TRUE(picture.LoadFromBytes(file.data(), file.size()));
        element.x = 10;
        element.y = 20;
        element.width = 100;
        element.height = 50;
        element.picture = &picture;
        element.name = "logo.bmp";
        link.target = "Next.htm";
    }

    DibPicture picture;
    ImageElement element;
    LinkElement link;
    FakeHost host;  // only its visited list matters to a picture
    TestCanvas canvas;
};

TEST_F(ImageElementDraw, LinkedPictureIsFramedInTheLinkColourAndTheFrameIsClickable) {
    element.link = &link;
    element.Draw(canvas, host);
    host.visited = {"next.htm"};
    element.Draw(canvas, host);

    // The frame covers 8..111 across and 18..71 down.
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{
                                "fill 8,18-112,72 #ff0000",
                                "copy  10,20-110,70",
                                "fill 8,18-112,72 #500050",
                                "copy  10,20-110,70",
                            }));
    EXPECT_EQ(link.HitRect(), Rect::FromSize(8, 18, 104, 54));
    EXPECT_TRUE(link.HitRect().Contains({8, 18}));
    EXPECT_TRUE(link.HitRect().Contains({111, 71}));
    EXPECT_FALSE(link.HitRect().Contains({112, 71}));
}

TEST_F(ImageElementDraw, TransparentPictureIsDrawnAtItsOwnSize) {
    element.name = "logos.bmp";
    element.Draw(canvas, host);
    EXPECT_EQ(canvas.calls, std::vector<std::string>{"transparent  10,20-40,40"});
}

TEST_F(ImageElementDraw, MissingPictureDrawsOnlyTheFrame) {
    element.link = &link;
    DibPicture empty;
    for (const DibPicture* p : std::vector<const DibPicture*>{nullptr, &empty}) {
        canvas.calls.clear();
        element.picture = p;
        element.Draw(canvas, host);
        EXPECT_EQ(canvas.calls, std::vector<std::string>{"fill 8,18-112,72 #ff0000"});
    }
    element.link = nullptr;
    canvas.calls.clear();
    element.Draw(canvas, host);
    EXPECT_TRUE(canvas.calls.empty());
}

}  // namespace
