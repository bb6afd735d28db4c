#include "window/folder_pictures.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/page_order.h"
#include "runtime/system.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;

SystemCode systemCodeOf(const std::error_code &error)
{
#if defined(_WIN32)
    if (error.category() == std::system_category())
        return SystemCode::fromWindows(static_cast<std::uint32_t>(error.value()));
#endif
    return SystemCode::fromErrno(error.value());
}

// A folder's entries, each named as listed; pictures and subfolders in name
// order.
struct Listing
{
    std::vector<std::string> pictures;
    std::vector<fs::path> folders;
};

void sortByName(std::vector<std::string> &paths)
{
    std::vector<std::string> sorted;
    sorted.reserve(paths.size());
    for (const std::size_t index : nameOrder(paths))
        sorted.push_back(std::move(paths[index]));
    paths = std::move(sorted);
}

class FolderWalk
{
public:
    FolderPictures walk(const fs::path &folder)
    {
        visit(folder);
        return std::move(m_found);
    }

private:
    void visit(const fs::path &folder)
    {
        m_ancestors.push_back(folder);
        Listing listing = list(folder);
        sortByName(listing.pictures);
        m_found.pictures.insert(m_found.pictures.end(), std::make_move_iterator(listing.pictures.begin()),
                                std::make_move_iterator(listing.pictures.end()));
        std::vector<std::string> names;
        for (const fs::path &subfolder : listing.folders)
            names.push_back(utf8FromPath(subfolder));
        for (const std::size_t index : nameOrder(names))
            visit(listing.folders[index]);
        m_ancestors.pop_back();
    }

    Listing list(const fs::path &folder)
    {
        Listing listing;
        std::error_code error;
        fs::directory_iterator entries(folder, error);
        for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
            const fs::directory_entry &entry = *entries;
            if (hiddenFile(entry.path()))
                continue;
            std::error_code ignored;
            if (entry.is_directory(ignored)) {
                if (!leadsBack(entry))
                    listing.folders.push_back(entry.path());
            } else if (entry.is_regular_file(ignored)
                       && isPictureName(utf8FromPath(entry.path().filename()))) {
                listing.pictures.push_back(utf8FromPath(entry.path()));
            } else {
                ++m_found.otherFiles;
            }
        }
        if (error)
            unreadable(folder, error);
        return listing;
    }

    // A link to a folder that holds it would go round for ever.
    bool leadsBack(const fs::directory_entry &entry) const
    {
        std::error_code error;
        if (!entry.is_symlink(error))
            return false;
        return std::ranges::any_of(m_ancestors, [&](const fs::path &ancestor) {
            std::error_code ignored;
            return fs::equivalent(entry.path(), ancestor, ignored);
        });
    }

    void unreadable(const fs::path &folder, const std::error_code &error)
    {
        if (m_found.unreadableFolders++ == 0) {
            m_found.firstUnreadable = utf8FromPath(folder);
            m_found.firstUnreadableReason = systemErrorText(systemCodeOf(error));
        }
    }

    FolderPictures m_found;
    std::vector<fs::path> m_ancestors;
};

} // namespace

bool isPictureName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    const std::string_view extension = fileName.substr(dot + 1);
    return std::ranges::any_of(kPictureExtensions, [&](std::string_view known) {
        return std::ranges::equal(extension, known, [](char a, char b) {
            return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
        });
    });
}

std::string picturePatterns()
{
    std::string patterns;
    for (const std::string_view extension : kPictureExtensions)
        patterns.append(patterns.empty() ? "*." : ";*.").append(extension);
    return patterns;
}

FolderPictures folderPictures(std::string_view folder)
{
    return FolderWalk().walk(pathFromUtf8(folder));
}

std::string folderPicturesNote(std::string_view folder, const FolderPictures &found)
{
    std::vector<std::string> sentences;
    if (found.pictures.empty() && found.unreadableFolders == 0)
        sentences.push_back(formatMessage(localized("note", "The folder \"%s\" holds no pictures."),
                                          {utf8::printable(folder)}));
    if (found.otherFiles > 0)
        sentences.push_back(
            formatMessage(localizedCount("note", "%s file that is not a picture was left out.",
                                         "%s files that are not pictures were left out.", found.otherFiles),
                          {withThousands(found.otherFiles)}));
    if (found.unreadableFolders > 0)
        sentences.push_back(
            formatMessage(localizedCount("note", "%1$s folder could not be read (\"%2$s\": %3$s).",
                                         "%1$s folders could not be read (the first, \"%2$s\": %3$s).",
                                         found.unreadableFolders),
                          {withThousands(found.unreadableFolders), utf8::printable(found.firstUnreadable),
                           found.firstUnreadableReason}));
    std::string note;
    for (const std::string &sentence : sentences)
        note.append(note.empty() ? "" : " ").append(sentence);
    return note;
}

} // namespace lumvrex
