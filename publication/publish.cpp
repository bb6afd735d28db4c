#include "publication/publish.h"

#include "publication/publication_script.h"
#include "runtime/file_writer.h"

namespace lumvrex {

Status publishToFile(const std::filesystem::path &path, const EncodedInputs &inputs,
                     PageEffectSource &effects, char decimalSeparator)
{
    return writeFile(path, publicationScript(inputs, effects, decimalSeparator));
}

Status publishToStandardOutput(const EncodedInputs &inputs, PageEffectSource &effects, char decimalSeparator)
{
    return writeStandardOutput(publicationScript(inputs, effects, decimalSeparator));
}

} // namespace lumvrex
