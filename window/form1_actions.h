#pragma once

#include "publication/create_publication.h"
#include "publication/publication_inputs.h"

namespace lumvrex {

class Dialogs;
class PageEffectSource;
class PageListController;

// "Create pub" as Form1 runs it: pages that name no picture (nothing is
// there, or a folder) are asked about before the path; "No" selects them in
// the list, so that Delete removes them, and writes nothing.
CreateOutcome createPublicationFromForm1(PublicationInputs inputs, PageListController &pages,
                                         Dialogs &dialogs, PageEffectSource &effects);

} // namespace lumvrex
