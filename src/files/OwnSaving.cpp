#include "files/OwnSaving.h"
#include "document/Form3.h"
#include "files/DocumentSave.h"

bool OwnSaving::save(Form3 &form) { return DocumentSave::save(form, form.cd); }

bool OwnSaving::saveAs(Form3 &form) { return DocumentSave::saveAs(form, form.cd); }
