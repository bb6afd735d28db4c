#include "publication/publish.h"

#include "publication/input_check.h"
#include "publication/script_writer.h"
#include "runtime/atomic_file.h"

#include <QDir>

namespace {

PublishResult writeFailure(const QString &displayName, const QString &reason)
{
    return {PublishResult::WriteFailed,
            QStringLiteral("Could not write \"%1\": %2.").arg(displayName, reason)};
}

} // namespace

PublishResult checkPublicationInputs(const PublicationInputs &inputs)
{
    if (inputs.pages.size() > kMaxPages) {
        return {PublishResult::BadInput,
                QStringLiteral("A publication holds at most %1 pages; %2 were given.")
                    .arg(kMaxPages)
                    .arg(inputs.pages.size())};
    }
    const QList<InputProblem> problems = findUnwritableInputs(inputs);
    if (!problems.isEmpty())
        return {PublishResult::BadInput, describeProblems(problems)};
    return {};
}

PublishResult publishToFile(const QString &path, const PublicationInputs &inputs, PageEffectSource &effects,
                            const QLocale &locale)
{
    PublishResult result = checkPublicationInputs(inputs);
    if (result.status != PublishResult::Written)
        return result;

    const FileWriteResult written = writeFileAtomically(path, [&](QIODevice &file, QString *error) {
        return writePublicationScript(file, inputs, effects, locale, error);
    });
    if (!written.ok)
        return writeFailure(QDir::toNativeSeparators(path), written.error);
    return {};
}

PublishResult publishToDevice(QIODevice &device, const QString &displayName, const PublicationInputs &inputs,
                              PageEffectSource &effects, const QLocale &locale)
{
    PublishResult result = checkPublicationInputs(inputs);
    if (result.status != PublishResult::Written)
        return result;

    QString error;
    if (!writePublicationScript(device, inputs, effects, locale, &error))
        return writeFailure(displayName, error);
    return {};
}
