#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageTestSupport.h"

namespace {

// The test host's text fields are 24 pixels high and captions 7 pixels a
// byte by 13; text on the test canvas is 13 high, 7 pixels a character.

std::vector<Rect> Places(const TokenList& page) {
    std::vector<Rect> places;
    for (const auto& group : page.forms()) {
        for (const auto& field : group->fields) {
            places.push_back(field->rect);
        }
        for (const auto& button : group->buttons) {
            places.push_back(button->rect);
        }
    }
    return places;
}

TEST(PageForms, TheFirstWalkMakesTheControlsAndLaterWalksMoveThemWithTheScroll) {
    PageFixture f(
        "<body leftmargin=\"10\">ab<form><input type=\"text\" name=\"keyword\" size=\"20\">"
        "<input type=\"submit\" name=\"go.htm\" value=\"go\"><br>"
        "<input type=\"password\" name=\"pw\" value=\"x\"></form>z");
    f.host.keyword = "fog";
    f.Render();
    ASSERT_EQ(f.page.forms().size(), 1u);
    const FormGroup& form = *f.page.forms().front();
    ASSERT_EQ(form.fields.size(), 2u);
    ASSERT_EQ(form.buttons.size(), 1u);
    // Below the line of "ab"; 20 characters are 160 pixels; the button
    // follows the field and is 6 pixels taller than its caption; "<br" goes
    // down by the button's height.
    EXPECT_EQ(Places(f.page),
              (std::vector<Rect>{{10, 13, 170, 37}, {10, 32, 170, 56}, {170, 13, 184, 32}}));
    EXPECT_EQ(form.buttons[0]->caption, "go");
    EXPECT_TRUE(form.fields[1]->password);
    // The searched words go into the text field, never into a password field.
    EXPECT_EQ(f.host.controls,
              (std::vector<std::string>{"make keyword 10,13-170,37", "keyword text fog",
                                        "make go.htm 170,13-184,32", "make pw 10,32-170,56"}));
    // After "</form" the pen goes down two lines.
    EXPECT_EQ(f.canvas.CallsOf("text").back(), "text 10,84 z #000000 h13");

    // Scrolled down by 100 pixels, the same controls stand 100 pixels higher
    // in the view, over the same page content, which does not move.
    f.host.controls.clear();
    f.canvas.calls.clear();
    f.host.scrollAt = {0, 100};
    f.Render();
    EXPECT_EQ(f.page.forms().size(), 1u);
    EXPECT_EQ(Places(f.page),
              (std::vector<Rect>{{10, -87, 170, -63}, {10, -68, 170, -44}, {170, -87, 184, -68}}));
    EXPECT_EQ(f.host.controls,
              (std::vector<std::string>{"keyword move 10,-87-170,-63", "keyword show",
                                        "go.htm move 170,-87-184,-68", "go.htm show",
                                        "pw move 10,-68-170,-44", "pw show"}));
    EXPECT_EQ(f.canvas.CallsOf("text").back(), "text 10,84 z #000000 h13");

    f.host.controls.clear();
    f.page.HideFormControls();
    EXPECT_EQ(f.host.controls,
              (std::vector<std::string>{"go.htm hide", "keyword hide", "pw hide"}));
}

TEST(PageForms, UnbalancedFormsAndInputsWithoutSizeOrValueStillGetDefinedControls) {
    PageFixture f(
        "<input type=\"text\" name=\"a\"><input type=\"reset\">"
        "<form><input type=\"submit\"><input type=\"checkbox\" name=\"c\"><input name=\"d\">"
        "<input type=\"reset\" value=\"r\"></form></form>"
        "<form><input type=\"password\" size=\"99999999999\">");
    f.Render();
    // Inputs outside any form have a group of their own; a second "</form"
    // adds nothing; a form without its "</form" is still one of the page's.
    const auto& forms = f.page.forms();
    ASSERT_EQ(forms.size(), 3u);
    ASSERT_EQ(forms[0]->fields.size(), 1u);
    EXPECT_EQ(forms[0]->fields[0]->rect.width(), 160);  // 20 characters
    ASSERT_EQ(forms[0]->buttons.size(), 1u);
    EXPECT_EQ(forms[0]->buttons[0]->caption, "リセット");
    EXPECT_EQ(forms[0]->buttons[0]->group, forms[0].get());
    ASSERT_EQ(forms[1]->buttons.size(), 2u);
    EXPECT_TRUE(forms[1]->fields.empty());
    EXPECT_EQ(forms[1]->buttons[0]->caption, "送信");
    // A check box and an input without type neither make a control nor move the pen.
    EXPECT_EQ(forms[1]->buttons[1]->rect.left, forms[1]->buttons[0]->rect.right);
    ASSERT_EQ(forms[2]->fields.size(), 1u);
    EXPECT_EQ(forms[2]->fields[0]->rect.width(), TokenList::kMaxPageWidth);

    // A token list that no longer matches its controls: what has no control
    // left is passed over, and nothing new is made.
    f.Load(
        "<form><input type=\"submit\"><input type=\"submit\"><input type=\"submit\">"
        "<input type=\"text\"><input type=\"text\"></form><input type=\"text\">"
        "<form><input type=\"reset\"></form><form><input type=\"text\"></form>"
        "<form><input type=\"text\"></form>");
    f.host.controls.clear();
    f.Render();
    EXPECT_EQ(forms.size(), 3u);
    for (const std::string& call : f.host.controls) {
        EXPECT_EQ(call.rfind("make", 0), std::string::npos) << call;
    }
}

TEST(PageForms, TheWordsFromTypeOnwardDecideTheKindOfAControl) {
    PageFixture f(
        "<form><input name=\"text1\" type=\"submit\"><input name=\"password\" type=\"reset\">"
        "<input type=\"text\" name=\"submit\"><input name=\"text\" type=\"password\">"
        "<input name=\"text\"></form>");
    f.Render();
    ASSERT_EQ(f.page.forms().size(), 1u);
    const FormGroup& form = *f.page.forms()[0];
    ASSERT_EQ(form.buttons.size(), 2u);
    EXPECT_TRUE(form.buttons[0]->submit);
    EXPECT_EQ(form.buttons[0]->action, "text1");
    EXPECT_FALSE(form.buttons[1]->submit);
    EXPECT_EQ(form.buttons[1]->caption, "リセット");
    ASSERT_EQ(form.fields.size(), 2u);
    EXPECT_EQ(form.fields[0]->name, "submit");
    EXPECT_FALSE(form.fields[0]->password);
    EXPECT_TRUE(form.fields[1]->password);
}

TEST(PageForms, AFormInACentredDivisionStartsAtTheMiddleOfTheView) {
    PageFixture f(
        "<body leftmargin=\"10\"><div align=\"center\"><form><input type=\"text\" "
        "size=\"5\"><input type=\"submit\" value=\"go\">ab</form></div>"
        "<form><input type=\"text\" size=\"5\"></form>");
    f.host.client = {0, 0, 500, 480};
    f.Render();
    ASSERT_EQ(f.page.forms().size(), 2u);
    // Half of the 500-pixel view, the button after the 40-pixel field; the
    // form after the division starts at the left margin again.
    EXPECT_EQ(f.page.forms()[0]->fields.at(0)->rect.left, 250);
    EXPECT_EQ(f.page.forms()[0]->buttons.at(0)->rect.left, 290);
    EXPECT_EQ(f.page.forms()[1]->fields.at(0)->rect.left, 10);
    // Text after the controls goes on from them rather than being centred anew.
    EXPECT_EQ(f.canvas.CallsOf("text").at(0).rfind("text 304,", 0), 0u)
        << f.canvas.CallsOf("text")[0];
}

TEST(PageForms, ControlsInACellMoveWithTheTableAndStayInTheirCell) {
    // The first column is widened from 50 to 80 and a caption above moves the
    // table down by 13 + 3.
    PageFixture f(
        "<table border=\"1\"><caption align=\"top left\">cap</caption>"
        "<tr><td width=\"50\">a</td><td width=\"100\">b<form><input type=\"text\" size=\"5\">"
        "</form></td></tr><tr><td width=\"80\">c</td><td width=\"100\">d</td></tr></table>");
    f.Render();
    ASSERT_EQ(f.page.forms().size(), 1u);
    // At the cell's left edge (3 + 50 + 2), a line below "b", then moved 30
    // right and 16 down.
    const Rect expected{85, 32, 125, 56};
    EXPECT_EQ(f.page.forms()[0]->fields.at(0)->rect, expected);
    EXPECT_EQ(f.host.controls.back(), " move " + TestCanvas::Str(expected));
    // The cell holds the field and the two lines "</form" goes down.
    EXPECT_EQ(f.page.tables().at(0).cells.at(1), (Rect{85, 19, 185, 84}));
}

}  // namespace
