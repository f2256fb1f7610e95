#include "rtf/RtfControlWords.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace {

using K = RtfKind;
using W = RtfWord;
using R = RtfRange;
using D = RtfDestination;
using namespace RtfValues;

constexpr RtfControlWord word(std::string_view n, K k, W w, int v = 0, R r = R::Any)
{
    return {n, k, w, v, r};
}
constexpr RtfControlWord dest(std::string_view n, D d)
{
    return {n, K::Destination, W::Rtf, int(d), R::Any};
}
constexpr RtfControlWord symbol(std::string_view n, int ch)
{
    return {n, K::Symbol, W::Character, ch, R::Any};
}

constexpr auto kUnsorted = std::to_array<RtfControlWord>({
    // Document, character set and Unicode.
    word("rtf", K::Value, W::Rtf, 1),
    word("ansi", K::Flag, W::CodePage, 1252),
    word("mac", K::Flag, W::CodePage, 10000),
    word("pc", K::Flag, W::CodePage, 437),
    word("pca", K::Flag, W::CodePage, 850),
    word("ansicpg", K::Value, W::AnsiCodePage, 1252, R::Index),
    word("deff", K::Value, W::DefaultFont, 0, R::Index),
    word("uc", K::Value, W::UnicodeSkip, 1, R::Skip),
    word("u", K::Value, W::Unicode, 0),
    dest("upr", D::UnicodePair),
    dest("ud", D::UnicodeText),

    // Font and colour tables.
    dest("fonttbl", D::FontTable),
    word("f", K::Value, W::Font, 0, R::Index),
    word("fcharset", K::Value, W::FontCharset, 0, R::Index),
    word("cpg", K::Value, W::FontCodePage, 0, R::Index),
    dest("colortbl", D::ColorTable),
    word("red", K::Value, W::Red, 0, R::Byte),
    word("green", K::Value, W::Green, 0, R::Byte),
    word("blue", K::Value, W::Blue, 0, R::Byte),

    // Character formatting.
    word("plain", K::Flag, W::Plain),
    word("b", K::Toggle, W::Bold, 1),
    word("i", K::Toggle, W::Italic, 1),
    word("ul", K::Toggle, W::Underline, 1),
    word("ulw", K::Toggle, W::Underline, 1),
    word("uldb", K::Toggle, W::Underline, 1),
    word("ulth", K::Toggle, W::Underline, 1),
    word("uld", K::Toggle, W::Underline, 3),
    word("ulthd", K::Toggle, W::Underline, 3),
    word("uldash", K::Toggle, W::Underline, 2),
    word("ulldash", K::Toggle, W::Underline, 2),
    word("ulthdash", K::Toggle, W::Underline, 2),
    word("ulthldash", K::Toggle, W::Underline, 2),
    word("uldashd", K::Toggle, W::Underline, 4),
    word("ulthdashd", K::Toggle, W::Underline, 4),
    word("uldashdd", K::Toggle, W::Underline, 5),
    word("ulthdashdd", K::Toggle, W::Underline, 5),
    word("ulwave", K::Toggle, W::Underline, 6),
    word("ulhwave", K::Toggle, W::Underline, 6),
    word("ululdbwave", K::Toggle, W::Underline, 6),
    word("ulnone", K::Flag, W::Underline, 0),
    word("strike", K::Toggle, W::Strike, 1),
    word("striked", K::Toggle, W::Strike, 1),
    word("fs", K::Value, W::FontSize, 24, R::HalfPoints),
    word("cf", K::Value, W::Foreground, 0, R::Index),
    word("cb", K::Value, W::Background, 0, R::Index),
    word("chcbpat", K::Value, W::Background, 0, R::Index),
    word("highlight", K::Value, W::Highlight, 0, R::Index),
    word("up", K::Value, W::Up, 6, R::HalfPoints),
    word("dn", K::Value, W::Down, 6, R::HalfPoints),
    word("super", K::Toggle, W::Script, Superscript),
    word("sub", K::Toggle, W::Script, Subscript),
    word("nosupersub", K::Flag, W::Script, NoScript),
    word("v", K::Toggle, W::Hidden, 1),
    word("caps", K::Toggle, W::Caps, 1),
    word("scaps", K::Toggle, W::SmallCaps, 1),

    // Paragraph formatting.
    word("pard", K::Flag, W::ParagraphDefault),
    word("ql", K::Flag, W::Alignment, 0),
    word("qr", K::Flag, W::Alignment, 1),
    word("qc", K::Flag, W::Alignment, 2),
    word("qj", K::Flag, W::Alignment, 3),
    word("qd", K::Flag, W::Alignment, 3),
    word("li", K::Value, W::LeftIndent, 0, R::Twips),
    word("lin", K::Value, W::LeftIndent, 0, R::Twips),
    word("ri", K::Value, W::RightIndent, 0, R::Twips),
    word("rin", K::Value, W::RightIndent, 0, R::Twips),
    word("fi", K::Value, W::FirstIndent, 0, R::Twips),
    word("sb", K::Value, W::SpaceBefore, 0, R::Twips),
    word("sa", K::Value, W::SpaceAfter, 0, R::Twips),
    word("sl", K::Value, W::LineSpacing, 0, R::Twips),
    word("slmult", K::Value, W::LineMultiple, 0, R::Byte),
    word("tx", K::Value, W::TabPosition, 0, R::Twips),
    word("tb", K::Value, W::BarTab, 0, R::Twips),
    word("tqr", K::Flag, W::TabKind, TabRight),
    word("tqc", K::Flag, W::TabKind, TabCenter),
    word("tqdec", K::Flag, W::TabKind, TabDecimal),
    word("intbl", K::Flag, W::InTable),
    word("itap", K::Value, W::NestLevel, 1, R::Nesting),
    word("ls", K::Value, W::ListOverrideIndex, 0, R::Index),
    word("ilvl", K::Value, W::ListLevelIndex, 0, R::Level),
    word("pagebb", K::Toggle, W::PageBreakBefore, 1),
    word("rtlpar", K::Flag, W::RightToLeft, 1),
    word("ltrpar", K::Flag, W::RightToLeft, 0),
    word("s", K::Value, W::Style, 0, R::Index),
    word("cs", K::Value, W::CharacterStyle, 0, R::Index),
    word("ds", K::Value, W::OtherStyle, 0, R::Index),
    word("ts", K::Value, W::OtherStyle, 0, R::Index),
    word("sbasedon", K::Value, W::BasedOn, 222, R::Index),
    word("snext", K::Value, W::NextStyle, 0, R::Index),

    // Breaks and special characters.
    word("par", K::Flag, W::Par),
    word("sect", K::Flag, W::Sect),
    word("sbknone", K::Flag, W::SectionBreak, BreakNone),
    word("sbkcol", K::Flag, W::SectionBreak, BreakNone),
    word("sbkpage", K::Flag, W::SectionBreak, BreakPage),
    word("sbkodd", K::Flag, W::SectionBreak, BreakPage),
    word("sbkeven", K::Flag, W::SectionBreak, BreakPage),
    word("page", K::Flag, W::Page),
    word("cell", K::Flag, W::Cell),
    word("nestcell", K::Flag, W::NestCell),
    word("row", K::Flag, W::Row),
    word("nestrow", K::Flag, W::NestRow),
    symbol("tab", '\t'),
    symbol("line", 0x2028),
    symbol("emdash", 0x2014),
    symbol("endash", 0x2013),
    symbol("emspace", 0x2003),
    symbol("enspace", 0x2002),
    symbol("qmspace", 0x2005),
    symbol("bullet", 0x2022),
    symbol("lquote", 0x2018),
    symbol("rquote", 0x2019),
    symbol("ldblquote", 0x201C),
    symbol("rdblquote", 0x201D),
    symbol("zwj", 0x200D),
    symbol("zwnj", 0x200C),
    symbol("zwbo", 0x200B),
    symbol("ltrmark", 0x200E),
    symbol("rtlmark", 0x200F),

    // Table rows.
    word("trowd", K::Flag, W::RowDefaults),
    word("cellx", K::Value, W::CellRight, 0, R::Any),
    word("clmgf", K::Flag, W::CellMerge, MergeFirst),
    word("clmrg", K::Flag, W::CellMerge, MergeNext),
    word("clvmgf", K::Flag, W::CellMerge, VMergeFirst),
    word("clvmrg", K::Flag, W::CellMerge, VMergeNext),
    word("trgaph", K::Value, W::RowGap, 0, R::Twips),
    word("trrh", K::Value, W::RowHeight, 0, R::Twips),
    word("trhdr", K::Flag, W::RowHeader, 1),
    word("trleft", K::Value, W::RowLeft, 0, R::Twips),
    word("trpaddt", K::Value, W::RowPadding, Top, R::Twips),
    word("trpaddl", K::Value, W::RowPadding, Left, R::Twips),
    word("trpaddb", K::Value, W::RowPadding, Bottom, R::Twips),
    word("trpaddr", K::Value, W::RowPadding, Right, R::Twips),
    word("trpaddft", K::Value, W::RowPaddingUnit, Top, R::Byte),
    word("trpaddfl", K::Value, W::RowPaddingUnit, Left, R::Byte),
    word("trpaddfb", K::Value, W::RowPaddingUnit, Bottom, R::Byte),
    word("trpaddfr", K::Value, W::RowPaddingUnit, Right, R::Byte),
    word("clpadt", K::Value, W::CellPadding, Top, R::Twips),
    word("clpadl", K::Value, W::CellPadding, Left, R::Twips),
    word("clpadb", K::Value, W::CellPadding, Bottom, R::Twips),
    word("clpadr", K::Value, W::CellPadding, Right, R::Twips),
    word("clpadft", K::Value, W::CellPaddingUnit, Top, R::Byte),
    word("clpadfl", K::Value, W::CellPaddingUnit, Left, R::Byte),
    word("clpadfb", K::Value, W::CellPaddingUnit, Bottom, R::Byte),
    word("clpadfr", K::Value, W::CellPaddingUnit, Right, R::Byte),
    word("clbrdrt", K::Flag, W::CellBorderSide, Top),
    word("clbrdrl", K::Flag, W::CellBorderSide, Left),
    word("clbrdrb", K::Flag, W::CellBorderSide, Bottom),
    word("clbrdrr", K::Flag, W::CellBorderSide, Right),
    word("brdrt", K::Flag, W::OtherBorder),
    word("brdrl", K::Flag, W::OtherBorder),
    word("brdrb", K::Flag, W::OtherBorder),
    word("brdrr", K::Flag, W::OtherBorder),
    word("brdrbtw", K::Flag, W::OtherBorder),
    word("brdrbar", K::Flag, W::OtherBorder),
    word("box", K::Flag, W::OtherBorder),
    word("chbrdr", K::Flag, W::OtherBorder),
    word("trbrdrt", K::Flag, W::OtherBorder),
    word("trbrdrl", K::Flag, W::OtherBorder),
    word("trbrdrb", K::Flag, W::OtherBorder),
    word("trbrdrr", K::Flag, W::OtherBorder),
    word("trbrdrh", K::Flag, W::OtherBorder),
    word("trbrdrv", K::Flag, W::OtherBorder),
    word("brdrs", K::Flag, W::BorderStyle, 3),      // QTextFrameFormat::BorderStyle_Solid
    word("brdrth", K::Flag, W::BorderStyle, 3),
    word("brdrsh", K::Flag, W::BorderStyle, 3),
    word("brdrhair", K::Flag, W::BorderStyle, 3),
    word("brdrthtnsg", K::Flag, W::BorderStyle, 3),
    word("brdrtnthsg", K::Flag, W::BorderStyle, 3),
    word("brdrdb", K::Flag, W::BorderStyle, 4),     // Double
    word("brdrtriple", K::Flag, W::BorderStyle, 4),
    word("brdrdot", K::Flag, W::BorderStyle, 1),    // Dotted
    word("brdrdash", K::Flag, W::BorderStyle, 2),   // Dashed
    word("brdrdashsm", K::Flag, W::BorderStyle, 2),
    word("brdrdashd", K::Flag, W::BorderStyle, 5),  // DotDash
    word("brdrdashdd", K::Flag, W::BorderStyle, 6), // DotDotDash
    word("brdrengrave", K::Flag, W::BorderStyle, 7),
    word("brdremboss", K::Flag, W::BorderStyle, 8),
    word("brdrinset", K::Flag, W::BorderStyle, 9),
    word("brdroutset", K::Flag, W::BorderStyle, 10),
    word("brdrwavy", K::Flag, W::BorderStyle, 3),
    word("brdrnone", K::Flag, W::BorderStyle, 0),
    word("brdrnil", K::Flag, W::BorderStyle, 0),
    word("brdrtbl", K::Flag, W::BorderStyle, 0),
    word("brdrw", K::Value, W::BorderWidth, 0, R::Twips),
    word("brdrcf", K::Value, W::BorderColor, 0, R::Index),
    word("clcbpat", K::Value, W::CellBackground, 0, R::Index),
    word("clcfpat", K::Value, W::CellPattern, 0, R::Index),
    word("clshdng", K::Value, W::CellShading, 0, R::Index),
    word("clvertalt", K::Flag, W::CellVerticalAlignment, AlignTop),
    word("clvertalc", K::Flag, W::CellVerticalAlignment, AlignCenter),
    word("clvertalb", K::Flag, W::CellVerticalAlignment, AlignBottom),
    word("trql", K::Flag, W::RowAlignment, 0),
    word("trqr", K::Flag, W::RowAlignment, 1),
    word("trqc", K::Flag, W::RowAlignment, 2),
    dest("nesttableprops", D::Transparent),
    dest("nonesttables", D::Skip),

    // Lists.
    dest("listtable", D::ListTable),
    dest("list", D::List),
    dest("listlevel", D::ListLevel),
    dest("leveltext", D::LevelText),
    dest("levelnumbers", D::Skip),
    dest("listname", D::Skip),
    dest("listoverridetable", D::ListOverrideTable),
    dest("listoverride", D::ListOverride),
    dest("lfolevel", D::Skip),
    dest("listtext", D::ListText),
    dest("pntext", D::ListText),
    word("listid", K::Value, W::ListId, 0),
    word("levelnfc", K::Value, W::LevelFormat, 0, R::Index),
    word("levelnfcn", K::Value, W::LevelFormat, 0, R::Index),
    word("levelstartat", K::Value, W::LevelStart, 1, R::Index),
    dest("pn", D::OldList),
    dest("pntxtb", D::OldListTextBefore),
    dest("pntxta", D::OldListTextAfter),
    word("pnlvl", K::Value, W::OldListLevel, 1, R::Index),
    word("pnlvlblt", K::Flag, W::OldListStyle, OldBullet),
    word("pnlvlbody", K::Flag, W::OldListStyle, OldBody),
    word("pnlvlcont", K::Flag, W::OldListStyle, OldContinue),
    word("pndec", K::Flag, W::OldListStyle, OldDecimal),
    word("pnucltr", K::Flag, W::OldListStyle, OldUpperAlpha),
    word("pnlcltr", K::Flag, W::OldListStyle, OldLowerAlpha),
    word("pnucrm", K::Flag, W::OldListStyle, OldUpperRoman),
    word("pnlcrm", K::Flag, W::OldListStyle, OldLowerRoman),
    word("pnstart", K::Value, W::OldListStart, 1, R::Index),

    // Pictures and shapes.
    dest("pict", D::Picture),
    dest("shppict", D::Transparent),
    dest("nonshppict", D::Skip),
    dest("shp", D::Shape),
    dest("do", D::Shape),
    dest("dptxbxtext", D::ShapeText),
    dest("shpgrp", D::Shape),
    dest("shpinst", D::Transparent),
    dest("sp", D::ShapeProperty),
    dest("sn", D::ShapePropertyName),
    dest("sv", D::ShapePropertyValue),
    dest("shprslt", D::ShapeResult),
    dest("shptxt", D::ShapeText),
    word("pngblip", K::Flag, W::PictureType, Png),
    word("jpegblip", K::Flag, W::PictureType, Jpeg),
    word("emfblip", K::Flag, W::PictureType, Emf),
    word("wmetafile", K::Flag, W::PictureType, Wmf),
    word("dibitmap", K::Flag, W::PictureType, Dib),
    word("wbitmap", K::Flag, W::PictureType, WindowsBitmap),
    word("macpict", K::Flag, W::PictureType, MacPict),
    word("pmmetafile", K::Flag, W::PictureType, OtherPicture),
    word("picw", K::Value, W::PictureWidth, 0, R::Index),
    word("pich", K::Value, W::PictureHeight, 0, R::Index),
    word("picwgoal", K::Value, W::GoalWidth, 0, R::Index),
    word("pichgoal", K::Value, W::GoalHeight, 0, R::Index),
    word("picscalex", K::Value, W::ScaleX, 100, R::Scale),
    word("picscaley", K::Value, W::ScaleY, 100, R::Scale),
    word("wbmbitspixel", K::Value, W::BitmapBitsPerPixel, 1, R::Byte),
    word("wbmwidthbytes", K::Value, W::BitmapWidthBytes, 0, R::Index),

    // Page set-up, sections, headers and notes.
    word("paperw", K::Value, W::PaperWidth, 12240, R::Twips),
    word("paperh", K::Value, W::PaperHeight, 15840, R::Twips),
    word("margl", K::Value, W::MarginLeft, 1800, R::Twips),
    word("margr", K::Value, W::MarginRight, 1800, R::Twips),
    word("margt", K::Value, W::MarginTop, 1440, R::Twips),
    word("margb", K::Value, W::MarginBottom, 1440, R::Twips),
    word("landscape", K::Flag, W::Landscape, 1),
    word("pgwsxn", K::Value, W::SectionPaperWidth, 12240, R::Twips),
    word("pghsxn", K::Value, W::SectionPaperHeight, 15840, R::Twips),
    word("marglsxn", K::Value, W::SectionMarginLeft, 1800, R::Twips),
    word("margrsxn", K::Value, W::SectionMarginRight, 1800, R::Twips),
    word("margtsxn", K::Value, W::SectionMarginTop, 1440, R::Twips),
    word("margbsxn", K::Value, W::SectionMarginBottom, 1440, R::Twips),
    word("lndscpsxn", K::Flag, W::SectionLandscape, 1),
    word("headery", K::Value, W::HeaderDistance, 720, R::Twips),
    word("footery", K::Value, W::FooterDistance, 720, R::Twips),
    word("titlepg", K::Toggle, W::TitlePage, 1),
    word("facingp", K::Toggle, W::FacingPages, 1),
    dest("header", D::Header),
    dest("headerl", D::HeaderLeft),
    dest("headerr", D::HeaderRight),
    dest("headerf", D::HeaderFirst),
    dest("footer", D::Footer),
    dest("footerl", D::FooterLeft),
    dest("footerr", D::FooterRight),
    dest("footerf", D::FooterFirst),
    dest("footnote", D::Footnote),
    word("ftnalt", K::Flag, W::EndnoteFlag, 1),
    word("chftn", K::Flag, W::NoteMark),
    word("chpgn", K::Flag, W::PageNumber),
    word("chatn", K::Flag, W::AnnotationMark),
    word("ftnnar", K::Flag, W::FootnoteFormat, 0),
    word("ftnnalc", K::Flag, W::FootnoteFormat, 1),
    word("ftnnauc", K::Flag, W::FootnoteFormat, 2),
    word("ftnnrlc", K::Flag, W::FootnoteFormat, 3),
    word("ftnnruc", K::Flag, W::FootnoteFormat, 4),
    word("ftnnchi", K::Flag, W::FootnoteFormat, 5),
    word("aftnnar", K::Flag, W::EndnoteFormat, 0),
    word("aftnnalc", K::Flag, W::EndnoteFormat, 1),
    word("aftnnauc", K::Flag, W::EndnoteFormat, 2),
    word("aftnnrlc", K::Flag, W::EndnoteFormat, 3),
    word("aftnnruc", K::Flag, W::EndnoteFormat, 4),
    word("aftnnchi", K::Flag, W::EndnoteFormat, 5),
    word("ftnstart", K::Value, W::FootnoteStart, 1, R::Index),
    word("aftnstart", K::Value, W::EndnoteStart, 1, R::Index),
    word("ftnrstcont", K::Flag, W::FootnoteRestart, 0),
    word("ftnrestart", K::Flag, W::FootnoteRestart, 1),
    word("ftnrstpg", K::Flag, W::FootnoteRestart, 2),
    word("aftnrstcont", K::Flag, W::EndnoteRestart, 0),
    word("aftnrestart", K::Flag, W::EndnoteRestart, 1),
    word("fet", K::Value, W::NoteTypes, 0, R::Byte),
    word("ftnbj", K::Flag, W::FootnotePlacement, 0),
    word("ftntj", K::Flag, W::FootnotePlacement, 1),
    word("aenddoc", K::Flag, W::EndnotePlacement, 0),
    word("aendnotes", K::Flag, W::EndnotePlacement, 1),

    // Shapes.
    word("shpleft", K::Value, W::ShapeLeft, 0, R::Twips),
    word("shptop", K::Value, W::ShapeTop, 0, R::Twips),
    word("shpright", K::Value, W::ShapeRight, 0, R::Twips),
    word("shpbottom", K::Value, W::ShapeBottom, 0, R::Twips),
    word("shpwr", K::Value, W::ShapeWrap, 0, R::Byte),
    word("shpwrk", K::Value, W::ShapeWrapSide, 0, R::Byte),

    // Fields and objects.
    dest("field", D::Field),
    dest("fldinst", D::FieldInstruction),
    dest("fldrslt", D::FieldResult),
    dest("object", D::Object),
    dest("result", D::ObjectResult),
    dest("objdata", D::Skip),
    dest("objclass", D::Skip),

    // Styles and document information.
    dest("stylesheet", D::Stylesheet),
    dest("info", D::Info),
    dest("title", D::InfoText),
    dest("subject", D::InfoText),
    dest("author", D::InfoText),
    dest("manager", D::InfoText),
    dest("company", D::InfoText),
    dest("operator", D::InfoText),
    dest("category", D::InfoText),
    dest("keywords", D::InfoText),
    dest("comment", D::InfoText),
    dest("doccomm", D::InfoText),
    dest("hlinkbase", D::InfoText),
    dest("creatim", D::InfoTime),
    dest("revtim", D::InfoTime),
    dest("printim", D::InfoTime),
    dest("buptim", D::InfoTime),
    word("yr", K::Value, W::Year, 0, R::Index),
    word("mo", K::Value, W::Month, 0, R::Index),
    word("dy", K::Value, W::Day, 0, R::Index),
    word("hr", K::Value, W::Hour, 0, R::Index),
    word("min", K::Value, W::Minute, 0, R::Index),
    word("sec", K::Value, W::Second, 0, R::Index),

    // Destinations kept as RTF where they stand, and written back.
    dest("annotation", D::Keep),
    dest("atnid", D::Keep),
    dest("atnauthor", D::Keep),
    dest("atndate", D::Keep),
    dest("atnref", D::Keep),
    dest("atnparent", D::Keep),
    dest("atrfstart", D::Keep),
    dest("atrfend", D::Keep),
    dest("bkmkstart", D::Keep),
    dest("bkmkend", D::Keep),
    dest("xe", D::Keep),
    dest("tc", D::Keep),
    dest("txe", D::Keep),
    dest("ftnsep", D::Keep),
    dest("ftnsepc", D::Keep),
    dest("ftncn", D::Keep),
    dest("aftnsep", D::Keep),
    dest("aftnsepc", D::Keep),
    dest("aftncn", D::Keep),
    dest("template", D::Keep),
    dest("private", D::Keep),

    // Destinations that are not kept: they describe the file's producer or what the writer makes
    // anew (revision and list section tables, themes, style defaults, page styles), or belong to a
    // group kept whole (form fields in a field instruction).
    dest("revtbl", D::Skip),
    dest("rsidtbl", D::Skip),
    dest("filetbl", D::Skip),
    dest("pgdsctbl", D::Skip),
    dest("pgdscno", D::Skip),
    dest("themedata", D::Skip),
    dest("colorschememapping", D::Skip),
    dest("latentstyles", D::Skip),
    dest("datastore", D::Skip),
    dest("xmlnstbl", D::Skip),
    dest("defchp", D::Skip),
    dest("defpap", D::Skip),
    dest("generator", D::Skip),
    dest("pnseclvl", D::Skip),
    dest("fchars", D::Skip),
    dest("lchars", D::Skip),
    dest("falt", D::Skip),
    dest("panose", D::Skip),
    dest("blipuid", D::Skip),
    dest("picprop", D::Skip),
    dest("listpicture", D::Skip),
    dest("datafield", D::Skip),
    dest("formfield", D::Skip),
});

constexpr auto sortedTable()
{
    auto table = kUnsorted;
    std::sort(table.begin(), table.end(),
              [](const RtfControlWord &a, const RtfControlWord &b) { return a.name < b.name; });
    return table;
}

constexpr auto kTable = sortedTable();

// Where the words of each first letter start in the sorted table (and the next letter's start
// where they end), so a look-up searches a few words only.
constexpr auto letterStarts()
{
    std::array<std::uint16_t, 27> starts{};
    std::size_t i = 0;
    for (int letter = 0; letter < 26; ++letter) {
        while (i < kTable.size() && kTable[i].name[0] < 'a' + letter)
            ++i;
        starts[std::size_t(letter)] = std::uint16_t(i);
    }
    starts[26] = std::uint16_t(kTable.size());
    return starts;
}

constexpr auto kLetterStarts = letterStarts();

constexpr bool namesAreUnique()
{
    for (std::size_t i = 1; i < kTable.size(); ++i)
        if (kTable[i - 1].name == kTable[i].name)
            return false;
    return true;
}
static_assert(namesAreUnique(), "a control word is listed twice");

int clampTo(RtfRange range, int v)
{
    switch (range) {
    case R::Any: return v;
    case R::Twips: return std::clamp(v, -31680 * 2, 31680 * 2);
    case R::HalfPoints: return std::clamp(v, 0, 3276);
    case R::Byte: return std::clamp(v, 0, 255);
    case R::Index: return std::max(v, 0);
    case R::Level: return std::clamp(v, 0, 8);
    case R::Nesting: return std::clamp(v, 0, 64);
    case R::Skip: return std::clamp(v, 0, 16);
    case R::Scale: return std::clamp(v, 0, 10000);
    }
    return v;
}

} // namespace

const RtfControlWord *RtfControlWords::find(QByteArrayView name)
{
    if (name.isEmpty() || name[0] < 'a' || name[0] > 'z')
        return nullptr; // every known word is in lower case
    const std::string_view key(name.data(), std::size_t(name.size()));
    const std::size_t letter = std::size_t(name[0] - 'a');
    const auto begin = kTable.begin() + kLetterStarts[letter], end = kTable.begin() + kLetterStarts[letter + 1];
    const auto it = std::lower_bound(begin, end, key,
                                     [](const RtfControlWord &e, std::string_view k) { return e.name < k; });
    if (it == end || it->name != key)
        return nullptr;
    return &*it;
}

bool RtfControlWords::isDocumentWide(const RtfControlWord &entry)
{
    if (entry.kind == K::Destination) {
        switch (RtfDestination(entry.value)) {
        case D::FontTable: case D::ColorTable: case D::Stylesheet: case D::ListTable: case D::ListOverrideTable:
        case D::Info:
            return true;
        default:
            return false;
        }
    }
    switch (entry.word) {
    case W::Rtf: case W::CodePage: case W::AnsiCodePage: case W::DefaultFont:
    case W::ListOverrideIndex: case W::ListLevelIndex:
        return true;
    default:
        return entry.word >= W::PaperWidth && entry.word <= W::EndnotePlacement;
    }
}

int RtfControlWords::effectiveValue(const RtfControlWord &entry, bool hasParameter, int parameter)
{
    switch (entry.kind) {
    case K::Flag:
    case K::Symbol:
    case K::Destination:
        return entry.value;
    case K::Toggle:
        return hasParameter && parameter == 0 ? 0 : entry.value;
    case K::Value:
        return clampTo(entry.range, hasParameter ? parameter : entry.value);
    }
    return entry.value;
}
