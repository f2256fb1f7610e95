#include "workspace/Workspace.h"
#include "document/Form3.h"
#include "platform/Failure.h"

Form3 &Workspace::ActiveForm() const
{
    Form3 *form = activeDocument();
    if (!form)
        throw Failure(QStringLiteral("Object variable not set"));
    return *form;
}

RichTextBox &Workspace::activeSurface() const { return *ActiveForm().RichTextBox1; }
