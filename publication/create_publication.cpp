#include "publication/create_publication.h"

#include "publication/publish.h"
#include "runtime/dialogs.h"

CreateOutcome createPublication(const PublicationInputs &inputs, Dialogs &dialogs, PageEffectSource &effects,
                                const QLocale &locale)
{
    const std::optional<QString> path =
        dialogs.askText(QStringLiteral("C:\\MyEBook.pub"), QStringLiteral("Output file:"));
    if (!path || path->isEmpty())
        return CreateOutcome::Cancelled;

    const QString messageTitle = QStringLiteral("Lumvrex");

    const PublishResult result = publishToFile(*path, inputs, effects, locale);
    switch (result.status) {
    case PublishResult::BadInput:
        dialogs.warn(messageTitle, QStringLiteral("The publication was not written.\n\n") + result.message);
        return CreateOutcome::Refused;
    case PublishResult::WriteFailed:
        dialogs.warn(messageTitle, result.message);
        return CreateOutcome::Failed;
    case PublishResult::Written:
        break;
    }
    dialogs.inform(messageTitle, QStringLiteral("Finished!"));
    return CreateOutcome::Finished;
}
