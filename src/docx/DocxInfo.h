#pragma once
#include "rtf/DocumentInfo.h"

#include <QByteArray>

class DocxPackage;

// The document information of a Word package: its core properties (docProps/core.xml: title,
// subject, author, dates ...) and the extended ones the program keeps (company, manager), as
// DocumentInfo has them by their RTF words.
namespace DocxInfo {

DocumentInfo read(const DocxPackage &package);
QByteArray coreXml(const DocumentInfo &info);
QByteArray appXml(const DocumentInfo &info);

} // namespace DocxInfo
