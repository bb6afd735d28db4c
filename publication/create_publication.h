#pragma once

#include "publication/publication_inputs.h"

namespace lumvrex {

class Dialogs;
class PageEffectSource;

enum class CreateOutcome {
    Cancelled, // no path given: nothing happened
    Refused,   // the inputs cannot make a script: warned, nothing written
    Failed,    // the file could not be written: warned, the target as it was
    Finished,  // written and reported with "Finished!"
};

// "Create pub": checks the inputs, asks for the output path, writes the
// script there and says "Finished!". Inputs a script cannot hold are
// reported before any question. Every failure is reported and leaves the
// caller's state and any existing file untouched, so the command can be run
// again at once.
CreateOutcome createPublication(PublicationInputs inputs, Dialogs &dialogs, PageEffectSource &effects,
                                char decimalSeparator);

} // namespace lumvrex
