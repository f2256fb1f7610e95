#pragma once
#include <QObject>

class MDIForm1;

// The Insert menu's Date / Time, Pictures, Text Files and Table commands.
class InsertCommands : public QObject
{
    Q_OBJECT
public:
    explicit InsertCommands(MDIForm1 &frame);

    void insert_Click();
    void dt_Click();
    void picturea_Click();
    void fgsdgfdg_Click();
    void dfgfdgdf_Click();
    void table_Click();

private:
    MDIForm1 &m_frame;
};
