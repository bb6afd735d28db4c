// "Add folder…" over a tree of chapters, and what its note says.
#include "window/folder_pictures.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumvrex {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

// Files and folders (ending in '/') of a tree, made under a folder.
void makeTree(const TemporaryFolder &root, const std::vector<std::string> &entries)
{
    for (const std::string &entry : entries) {
        if (entry.ends_with('/'))
            fs::create_directories(root / entry);
        else
            testing::writeWholeFile(root / entry, "");
    }
}

std::vector<std::string> relative(const TemporaryFolder &root, const std::vector<std::string> &paths)
{
    std::vector<std::string> names;
    for (const std::string &path : paths) {
        std::string name = utf8FromPath(pathFromUtf8(path).lexically_relative(root.path()));
        std::replace(name.begin(), name.end(), '\\', '/');
        names.push_back(name);
    }
    return names;
}

TEST(FolderPictures, TakesEachFoldersPicturesByNameThenItsSubfoldersInTurn)
{
    TemporaryFolder root;
    makeTree(root,
             {"Viaje/",
              "Viaje/portada.JPG",
              "Viaje/notas.txt",
              "Viaje/foto 10.png",
              "Viaje/foto 2.png",
              "Viaje/.oculta.jpg",
              "Viaje/.miniaturas/",
              "Viaje/.miniaturas/foto 2.png",
              "Viaje/Capítulo 10/",
              "Viaje/Capítulo 10/índice.ico",
              "Viaje/Capítulo 2/",
              "Viaje/Capítulo 2/zeta.tif",
              "Viaje/Capítulo 2/Ávila.gif",
              "Viaje/Capítulo 1/",
              "Viaje/Capítulo 1/playa.jpeg",
              "Viaje/Capítulo 1/mapa.pdf",
              "Viaje/Capítulo 1/Vídeos/",
              "Viaje/Capítulo 1/Vídeos/baño.mp4",
              "Viaje/Capítulo 1/Vídeos/sin foto/",
              "Viaje/vacía/",
              "Viaje/Capítulo 1/Vídeos/a.bmp.txt",
              "Viaje/Capítulo 1/Vídeos/bmp"});
#if defined(_WIN32)
    // Windows' own hidden files, in nearly every folder of pictures.
    testing::writeWholeFile(root / "Viaje/desktop.ini", "");
    testing::writeWholeFile(root / "Viaje/Thumbs.db", "");
    SetFileAttributesW((root / "Viaje/desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW((root / "Viaje/Thumbs.db").c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
    // A link back to a folder above is not gone round.
    fs::create_directory_symlink("..", root / "Viaje/Capítulo 2/atrás");
#endif
    const FolderPictures found = folderPictures(utf8FromPath(root / "Viaje"));
    EXPECT_EQ(relative(root, found.pictures),
              (std::vector<std::string>{"Viaje/foto 2.png", "Viaje/foto 10.png", "Viaje/portada.JPG",
                                        "Viaje/Capítulo 1/playa.jpeg", "Viaje/Capítulo 2/Ávila.gif",
                                        "Viaje/Capítulo 2/zeta.tif", "Viaje/Capítulo 10/índice.ico"}));
    EXPECT_EQ(found.otherFiles, 5u); // notas.txt, mapa.pdf, baño.mp4, a.bmp.txt, bmp
    EXPECT_EQ(found.unreadableFolders, 0u);
    EXPECT_EQ(folderPicturesNote("Viaje", found), "5 files that are not pictures were left out.");

    const FolderPictures empty = folderPictures(utf8FromPath(root / "Viaje/vacía"));
    EXPECT_TRUE(empty.pictures.empty());
    EXPECT_EQ(folderPicturesNote("vacía", empty), "The folder \"vacía\" holds no pictures.");
}

TEST(FolderPictures, AFolderThatCannotBeReadIsCountedAndNamed)
{
    TemporaryFolder root;
    const FolderPictures found = folderPictures(utf8FromPath(root / "gone"));
    EXPECT_TRUE(found.pictures.empty());
    EXPECT_EQ(found.unreadableFolders, 1u);
    EXPECT_EQ(found.firstUnreadable, utf8FromPath(root / "gone"));
    EXPECT_FALSE(found.firstUnreadableReason.empty());
}

#if !defined(_WIN32)
// A chain of folders whose path is past what the system takes (PATH_MAX),
// made from inside: listing its depths fails even for root. Removed the same
// way.
constexpr int kLevels = 22;
const std::string kLevelName(200, 'd');

void makeTooDeep(const fs::path &under)
{
    int folder = open(under.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < kLevels && folder >= 0; ++level) {
        mkdirat(folder, kLevelName.c_str(), 0755);
        const int next = openat(folder, kLevelName.c_str(), O_RDONLY | O_DIRECTORY);
        close(folder);
        folder = next;
    }
    ASSERT_GE(folder, 0);
    close(folder);
}

void removeTooDeep(int parent, int levels)
{
    const int folder = openat(parent, kLevelName.c_str(), O_RDONLY | O_DIRECTORY);
    if (folder < 0)
        return;
    if (levels > 1)
        removeTooDeep(folder, levels - 1);
    close(folder);
    unlinkat(parent, kLevelName.c_str(), AT_REMOVEDIR);
}

TEST(FolderPictures, ASubfolderThatCannotBeReadLosesNothingElse)
{
    TemporaryFolder root;
    makeTree(root, {"Libro/", "Libro/a/", "Libro/a/uno.png", "Libro/b/", "Libro/c/", "Libro/c/dos.png"});
    makeTooDeep(root / "Libro/b");
    const FolderPictures found = folderPictures(utf8FromPath(root / "Libro"));
    const int under = open((root / "Libro/b").c_str(), O_RDONLY | O_DIRECTORY);
    removeTooDeep(under, kLevels);
    close(under);

    EXPECT_EQ(relative(root, found.pictures),
              (std::vector<std::string>{"Libro/a/uno.png", "Libro/c/dos.png"}));
    EXPECT_EQ(found.unreadableFolders, 1u);
    EXPECT_TRUE(found.firstUnreadable.starts_with(utf8FromPath(root / "Libro/b/" / kLevelName)));
    EXPECT_EQ(found.firstUnreadableReason, "File name too long");
}
#endif

TEST(FolderPictures, PicturesAreTheOpenDialogsExtensionsInAnyCase)
{
    for (const char *name :
         {"a.bmp", "a.JPG", "a.jpeg", "a.Png", "a.gif", "a.tif", "a.TIFF", "a.ico", "a.b.jpg"})
        EXPECT_TRUE(isPictureName(name)) << name;
    for (const char *name : {"jpg", ".jpg", "a.jpgx", "a.jpg.txt", "a.webp", "a.", "a.svg"})
        EXPECT_FALSE(isPictureName(name)) << name;
    EXPECT_EQ(picturePatterns(), "*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.ico");
}

struct NoteCase
{
    const char *name;
    FolderPictures found;
    const char *note;
};

class FolderNotes : public ::testing::TestWithParam<NoteCase>
{
};

TEST_P(FolderNotes, SayWhatWasNotAdded)
{
    EXPECT_EQ(folderPicturesNote("/fotos/Viaje", GetParam().found), GetParam().note);
}

FolderPictures found(std::vector<std::string> pictures, std::size_t otherFiles, std::size_t unreadable = 0,
                     std::string firstUnreadable = {}, std::string reason = {})
{
    FolderPictures found;
    found.pictures = std::move(pictures);
    found.otherFiles = otherFiles;
    found.unreadableFolders = unreadable;
    found.firstUnreadable = std::move(firstUnreadable);
    found.firstUnreadableReason = std::move(reason);
    return found;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderNotes,
    ::testing::Values(
        NoteCase{"everything_added", found({"/fotos/Viaje/a.jpg"}, 0), ""},
        NoteCase{"one_other_file", found({"/fotos/Viaje/a.jpg"}, 1),
                 "1 file that is not a picture was left out."},
        NoteCase{
            "empty_with_others", found({}, 32768),
            "The folder \"/fotos/Viaje\" holds no pictures. 32,768 files that are not pictures were left "
            "out."},
        NoteCase{"unreadable_subfolders",
                 found({"/fotos/Viaje/a.jpg"}, 0, 2, "/fotos/Viaje/b", "Permission denied"),
                 "2 folders could not be read (the first, \"/fotos/Viaje/b\": Permission denied)."},
        NoteCase{"unreadable_folder", found({}, 0, 1, "/fotos/Viaje", "No such file or directory"),
                 "1 folder could not be read (\"/fotos/Viaje\": No such file or directory)."}),
    [](const auto &info) { return testing::caseName(info.param.name); });

} // namespace
} // namespace lumvrex
