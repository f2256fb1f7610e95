#include "files/OwnSaving.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "files/DocumentSave.h"
#include "workspace/Workspace.h"

bool OwnSaving::save(Form3 &form) { return noted(form, DocumentSave::save(form, form.cd)); }

bool OwnSaving::saveAs(Form3 &form) { return noted(form, DocumentSave::saveAs(form, form.cd)); }

bool OwnSaving::noted(Form3 &form, bool written)
{
    if (written)
        m_workspace.fileUsed(form.RichTextBox1->FileName());
    return written;
}
