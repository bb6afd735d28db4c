#include "window/form1_actions.h"

#include "runtime/dialogs.h"
#include "window/form1_layout.h"
#include "window/missing_pictures.h"
#include "window/page_list_controller.h"

namespace lumvrex {

CreateOutcome createPublicationFromForm1(PublicationInputs inputs, PageListController &pages,
                                         Dialogs &dialogs, PageEffectSource &effects)
{
    const std::vector<std::string> &entries = pages.editor().entries();
    const std::vector<MissingPicture> missing = missingPictures(entries);
    if (!missing.empty() && !dialogs.confirm(kApplicationTitle, missingPicturesQuestion(entries, missing))) {
        std::vector<std::size_t> rows;
        rows.reserve(missing.size());
        for (const MissingPicture &page : missing)
            rows.push_back(page.row);
        pages.selectRows(rows);
        return CreateOutcome::Cancelled;
    }
    return createPublication(std::move(inputs), dialogs, effects, form1DecimalSeparator());
}

} // namespace lumvrex
