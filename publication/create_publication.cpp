#include "publication/create_publication.h"

#include "i18n/messages.h"
#include "publication/publication_script.h"
#include "runtime/dialogs.h"
#include "runtime/file_writer.h"
#include "runtime/system.h"

namespace lumvrex {

CreateOutcome createPublication(PublicationInputs inputs, Dialogs &dialogs, PageEffectSource &effects,
                                char decimalSeparator)
{
    const char *const messageTitle = "Lumvrex";
    // Checked before the path is asked for: a user who learns only after
    // typing a path that a field cannot be written has typed it for nothing.
    const Result<EncodedInputs> encoded = encodeInputs(std::move(inputs));
    if (!encoded) {
        dialogs.warn(messageTitle,
                     std::string(localized("warning", "The publication was not written.")) + "\n\n"
                         + encoded.error().message);
        return CreateOutcome::Refused;
    }

    const std::optional<std::string> path = dialogs.askText("C:\\MyEBook.pub", "Output file:");
    if (!path || path->empty())
        return CreateOutcome::Cancelled;

    const Status written =
        writeFile(pathFromUtf8(*path), publicationScript(*encoded, effects, decimalSeparator));
    if (!written) {
        dialogs.warn(messageTitle, written.error().message);
        return CreateOutcome::Failed;
    }
    dialogs.inform(messageTitle, "Finished!");
    return CreateOutcome::Finished;
}

} // namespace lumvrex
