#include "tavrin_doc.h"

#include "archive.h"

void CTavrinDoc::Serialize(Archive&) {
    // The ".pf" format belongs to the network model, which this program
    // does not hold yet; saying so keeps every existing file as it is.
    throw ArchiveError(ArchiveError::Kind::FileFailure,
                       "This version of the program cannot read or write network documents (.pf) yet.");
}
