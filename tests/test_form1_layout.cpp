#include "window/form1_layout.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumvrex;

namespace {

TEST(Form1, FieldsFeedTheirInputsAndText3Nothing)
{
    const PublicationInputs inputs = form1Inputs(
        [](const Form1Control &field) { return "<" + std::string(field.name) + ">"; }, PageList{"/a.png"});
    EXPECT_EQ(inputs.title, "<Text1>");
    EXPECT_EQ(inputs.backColor, "<Text2>");
    EXPECT_EQ(inputs.width, "<Text4>");
    EXPECT_EQ(inputs.height, "<Text5>");
    EXPECT_EQ(inputs.icon, "<Text6>");
    EXPECT_EQ(inputs.pages, (PageList{"/a.png"}));
}

TEST(Form1, EveryButtonHasItsActionAndNothingElseOne)
{
    std::string actions;
    for (const Form1Control &control : kForm1Controls) {
        EXPECT_EQ(control.action != ButtonAction::None, control.kind == ControlKind::PushButton)
            << control.name;
        if (control.action == ButtonAction::CreatePublication)
            actions += "create:" + std::string(control.name) + " ";
        if (control.action == ButtonAction::Exit)
            actions += "exit:" + std::string(control.name) + " ";
        if (control.action == ButtonAction::ClearPages)
            actions += "clear:" + std::string(control.name) + " ";
    }
    EXPECT_EQ(actions, "clear:Command3 create:Command1 exit:Command2 ");
}

// A field is spoken as the label beside it: its caption must be a label's.
TEST(Form1, FieldsAndTheListAreSpokenByTheirLabels)
{
    std::string spoken;
    for (const Form1Control &control : kForm1Controls) {
        if (control.kind == ControlKind::Label || control.kind == ControlKind::PushButton) {
            EXPECT_TRUE(control.spokenCaption.empty()) << control.name;
            continue;
        }
        spoken += std::string(control.name) + "=" + spokenName(control) + "|";
    }
    EXPECT_EQ(spoken,
              "Text1=E-Book title:|Text2=Back color:|List1=Pages:|Text3=Init message:|"
              "Text4=Resolution (w,h): width|Text5=Resolution (w,h): height|Text6=Icon:|");
}

TEST(Form1, TildeIsTheHomeFolder)
{
    EXPECT_EQ(expandHome("~/Book.pub", "/home/me"), "/home/me/Book.pub");
    EXPECT_EQ(expandHome("~", "/home/me"), "/home/me");
    EXPECT_EQ(expandHome("~other/Book.pub", "/home/me"), "~other/Book.pub");
    EXPECT_EQ(expandHome("/tmp/~/Book.pub", "/home/me"), "/tmp/~/Book.pub");
    EXPECT_EQ(expandHome("~/Book.pub", ""), "~/Book.pub");
}

} // namespace
