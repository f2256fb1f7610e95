#include "files/OwnSaving.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "files/DocumentSave.h"
#include "workspace/Workspace.h"

bool OwnSaving::save(DocumentWindow &form) { return noted(form, DocumentSave::save(form, form.saveAsDialog)); }

bool OwnSaving::saveAs(DocumentWindow &form) { return noted(form, DocumentSave::saveAs(form, form.saveAsDialog)); }

bool OwnSaving::noted(DocumentWindow &form, bool written)
{
    if (written)
        m_workspace.fileUsed(form.surface->fileName());
    return written;
}
