#include "window/missing_pictures.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "runtime/system.h"
#include "runtime/utf8.h"
#include "window/page_list_texts.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lumvrex {
namespace {

constexpr std::size_t kNamed = 5;

} // namespace

std::vector<MissingPicture> missingPictures(const std::vector<std::string> &entries)
{
    std::vector<MissingPicture> missing;
    for (std::size_t row = 0; row < entries.size(); ++row) {
        std::error_code error;
        const std::filesystem::file_status status =
            std::filesystem::status(pathFromUtf8(entries[row]), error);
        if (status.type() == std::filesystem::file_type::directory)
            missing.push_back({row, true});
        else if (error || !std::filesystem::exists(status))
            missing.push_back({row, false});
    }
    return missing;
}

std::string missingPicturesQuestion(const std::vector<std::string> &entries,
                                    const std::vector<MissingPicture> &missing)
{
    std::string question = formatMessage(localizedCount("missing pictures", "%s page names no picture:",
                                                        "%s pages name no picture:", missing.size()),
                                         {withThousands(missing.size())});
    for (std::size_t i = 0; i < std::min(missing.size(), kNamed); ++i) {
        const MissingPicture &page = missing[i];
        const std::string name = utf8::printable(fileNameOf(entries[page.row]));
        question += "\n"
            + formatMessage(page.folder ? localized("missing pictures", "page %1$s: %2$s (a folder)")
                                        : localized("missing pictures", "page %1$s: %2$s (not found)"),
                            {std::to_string(page.row + 1), name});
    }
    if (missing.size() > kNamed) {
        const std::size_t more = missing.size() - kNamed;
        question += "\n"
            + formatMessage(localizedCount("missing pictures", "and %s more", "and %s more", more),
                            {withThousands(more)});
    }
    return question + "\n\n" + std::string(localized("missing pictures", "Create the script anyway?"));
}

} // namespace lumvrex
