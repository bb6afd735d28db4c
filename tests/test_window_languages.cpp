// The window's own texts (spoken names, tooltips, notes, the page menu, the
// open dialog) in English and in Spanish, each as the catalogue has it.
// Linux switches the messages' locale in the process; under Wine a program
// speaks the language of its session, so CTest runs the English cases there
// and scripts/test-windows the Spanish ones in a Spanish session.
#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/publication_inputs.h"
#include "window/folder_pictures.h"
#include "window/form1_layout.h"
#include "window/missing_pictures.h"
#include "window/page_list_commands.h"
#include "window/page_list_editor.h"
#include "window/page_list_texts.h"

#include "support/catalogue_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <set>

#ifndef _WIN32
#include <clocale>
#include <cstdlib>
#endif

namespace lumvrex {
namespace {

using testing::CatalogueText;

struct LanguageCase
{
    const char *name;
    bool spanish;
};

class WindowTexts : public ::testing::TestWithParam<LanguageCase>
{
protected:
    void SetUp() override
    {
#ifdef _WIN32
        startMessages();
#else
        // LANGUAGE would override the locale's language: the test says which.
        ::unsetenv("LANGUAGE");
        ASSERT_NE(std::setlocale(LC_MESSAGES, GetParam().spanish ? "es_ES.UTF-8" : "C"), nullptr)
            << "scripts/install-deps makes the es_ES.UTF-8 locale";
        useMessageFolder(LUMVREX_LOCALE_FOLDER);
#endif
        ASSERT_TRUE(m_text.valid());
    }
    void TearDown() override
    {
#ifndef _WIN32
        std::setlocale(LC_MESSAGES, "C");
#endif
    }

    CatalogueText m_text{GetParam().spanish, LUMVREX_SPANISH_CATALOGUE,
                         [](const std::string &miss) { ADD_FAILURE() << miss; }};
};

// What the window says against what the catalogue holds for it.
struct TextCase
{
    const char *name;
    std::function<std::string()> said;
    std::function<std::string(const CatalogueText &)> expected;
};

std::string emptyFolderNote()
{
    FolderPictures found;
    found.otherFiles = 2;
    return folderPicturesNote("Viaje", found);
}

std::string overflowOf(PageSource source, std::size_t given)
{
    PageListEditor editor;
    (void)editor.append(std::vector<std::string>(kMaxPages - 3, "/a.png"), PageSource::Drop);
    return editor.append(std::vector<std::string>(given, "/b.png"), source).message;
}

const TextCase kTextCases[] = {
    {"spokenName",
     [] {
         return pageSpokenName({"/fotos/a.jpg", "/fotos/b.jpg", "/fotos/playa en Cádiz.jpg"}, 2);
     },
     [](const CatalogueText &t) {
         return formatMessage(t.text("spoken name", "page %1$s of %2$s, %3$s"),
                              {"3", "3", "playa en Cádiz.jpg"});
     }},
    {"spokenNameWithItsFolder",
     [] {
         return pageSpokenName({"/fotos/a.jpg", "/viaje/b.jpg"}, 1);
     },
     [](const CatalogueText &t) {
         return formatMessage(t.text("spoken name", "page %1$s of %2$s, %3$s, in %4$s"),
                              {"2", "2", "b.jpg", "viaje"});
     }},
    {"listNameOnePage", [] { return pageListName("Pages:", 1); },
     [](const CatalogueText &t) {
         return "Pages: " + formatMessage(t.count("spoken name", "%s page", "%s pages", 1), {"1"});
     }},
    {"listNameFullList", [] { return pageListName("Pages:", kMaxPages); },
     [](const CatalogueText &t) {
         return "Pages: "
             + formatMessage(t.count("spoken name", "%s page", "%s pages", kMaxPages), {"32767"});
     }},
    {"resolutionWidthField", [] { return spokenName(kForm1Controls[10]); },
     [](const CatalogueText &t) { return "Resolution (w,h): " + t.text("spoken name", "width"); }},
    {"resolutionHeightField", [] { return spokenName(kForm1Controls[11]); },
     [](const CatalogueText &t) { return "Resolution (w,h): " + t.text("spoken name", "height"); }},
    {"titleField", [] { return spokenName(kForm1Controls[1]); },
     [](const CatalogueText &) { return std::string("E-Book title:"); }},
    {"tooltip", [] { return pageTooltipHeading(0, 2); },
     [](const CatalogueText &t) {
         return formatMessage(t.text("tooltip", "page %1$s of %2$s"), {"1", "2"});
     }},
    {"oneDroppedItemNotAFile", [] { return notFilesMessage(1, PageSource::Drop); },
     [](const CatalogueText &t) {
         return formatMessage(t.count("note", "%s dropped item is not a file and was not added.",
                                      "%s dropped items are not files and were not added.", 1),
                              {"1"});
     }},
    {"pastedItemsNotFiles", [] { return notFilesMessage(3, PageSource::Paste); },
     [](const CatalogueText &t) {
         return formatMessage(t.count("note", "%s pasted item is not a file and was not added.",
                                      "%s pasted items are not files and were not added.", 3),
                              {"3"});
     }},
    {"noFilesToPaste", [] { return std::string(noFilesToPasteMessage()); },
     [](const CatalogueText &t) { return t.text("note", "The clipboard holds no files to paste."); }},
    {"overflowOfADrop", [] { return overflowOf(PageSource::Drop, 5); },
     [](const CatalogueText &t) {
         return formatMessage(
             t.count("note",
                     "The page list holds at most %1$s pages: %2$s of the dropped files was not added.",
                     "The page list holds at most %1$s pages: %2$s of the dropped files were not added.", 2),
             {t.thousands(32767), "2"});
     }},
    {"overflowOfTheOpenDialogByOne", [] { return overflowOf(PageSource::OpenDialog, 4); },
     [](const CatalogueText &t) {
         return formatMessage(
             t.count("note",
                     "The page list holds at most %1$s pages: %2$s of the chosen files was not added.",
                     "The page list holds at most %1$s pages: %2$s of the chosen files were not added.", 1),
             {t.thousands(32767), "1"});
     }},
    {"emptyFolder", emptyFolderNote,
     [](const CatalogueText &t) {
         return formatMessage(t.text("note", "The folder \"%s\" holds no pictures."), {"Viaje"}) + " "
             + formatMessage(t.count("note", "%s file that is not a picture was left out.",
                                     "%s files that are not pictures were left out.", 2),
                             {"2"});
     }},
    {"missingPictures",
     [] {
         return missingPicturesQuestion({"/fotos/Viaje", "/no/a.jpg"}, {{0, true}, {1, false}});
     },
     [](const CatalogueText &t) {
         return formatMessage(
                    t.count("missing pictures", "%s page names no picture:", "%s pages name no picture:", 2),
                    {"2"})
             + "\n" + formatMessage(t.text("missing pictures", "page %1$s: %2$s (a folder)"), {"1", "Viaje"})
             + "\n" + formatMessage(t.text("missing pictures", "page %1$s: %2$s (not found)"), {"2", "a.jpg"})
             + "\n\n" + t.text("missing pictures", "Create the script anyway?");
     }},
    {"openDialogTitle", [] { return std::string(addPicturesTexts().title); },
     [](const CatalogueText &t) { return t.text("open dialog", "Add pictures"); }},
    {"openDialogFilter", [] { return std::string(addPicturesTexts().allFiles); },
     [](const CatalogueText &t) { return t.text("open dialog", "All files"); }},
    {"menuAddPictures", [] { return pageMenuCaption(PageCommand::AddPictures); },
     [](const CatalogueText &t) { return t.text("page menu", "&Add pictures") + "…"; }},
    {"menuRemoveShortcut", [] { return pageMenuShortcutLabel(PageCommand::Remove); },
     [](const CatalogueText &t) { return t.text("key name", "Delete"); }},
    {"menuMoveShortcut", [] { return pageMenuShortcutLabel(PageCommand::MoveLeft); },
     [](const CatalogueText &t) { return t.text("key name", "Ctrl") + "+" + t.text("key name", "Left"); }},
};

TEST_P(WindowTexts, AreTheCataloguesOwn)
{
    for (const TextCase &c : kTextCases)
        EXPECT_EQ(c.said(), c.expected(m_text)) << c.name;
}

// Alt and a letter reaches one command of the menu in each language.
TEST_P(WindowTexts, MenuAccessKeysAreAllDifferent)
{
    std::set<char> keys;
    for (const PageCommandDefinition &definition : kPageCommands) {
        if (definition.menu == MenuPlace::None)
            continue;
        const std::string caption = pageMenuCaption(definition.command);
        const std::size_t amp = caption.find('&');
        ASSERT_LT(amp + 1, caption.size()) << caption;
        const auto key = static_cast<unsigned char>(caption[amp + 1]);
        ASSERT_LT(key, 0x80) << caption << ": an access key a keyboard types alone";
        EXPECT_TRUE(keys.insert(static_cast<char>(std::tolower(key))).second) << caption;
        EXPECT_EQ(caption.find('&', amp + 1), std::string::npos) << caption;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowTexts,
                         ::testing::Values(LanguageCase{"English", false}, LanguageCase{"Spanish", true}),
                         [](const ::testing::TestParamInfo<LanguageCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace lumvrex
