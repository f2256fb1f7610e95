#pragma once
#include <QByteArrayView>
#include <QtGlobal>
#include <string_view>

// What a control word is, as the RTF reader sees it.
enum class RtfKind : quint8 {
    Flag,        // no parameter; the entry's value is what it means
    Toggle,      // on with no parameter (the entry's value), off with parameter 0
    Value,       // takes a parameter, the entry's value when the file gives none
    Symbol,      // stands for one character, the entry's value (0 for none)
    Destination, // starts a destination; the entry's value is an RtfDestination
};

// Where the text of a group goes and which control words mean something there.
enum class RtfDestination : quint8 {
    Body,               // the document's text
    Skip,               // everything ignored until the group ends
    Transparent,        // like the enclosing group (\shppict, \nesttableprops, \shpinst)
    FontTable,
    ColorTable,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    ListText,           // \listtext and \pntext: a list's number as plain text
    OldList,            // \pn
    OldListTextBefore,  // \pntxtb
    OldListTextAfter,   // \pntxta
    Field,
    FieldInstruction,
    FieldResult,
    Picture,
    Shape,
    ShapeProperty,
    ShapePropertyName,
    ShapePropertyValue,
    ShapeResult,
    ShapeText,          // a text box's text, shown in the flow of the text
    Object,
    ObjectResult,
    UnicodePair,        // \upr: its first half is the ANSI copy of the second
    UnicodeText,        // \ud
    Keep,               // kept as RTF and written back where it stood (bookmarks, comments ...)
    Header, HeaderLeft, HeaderRight, HeaderFirst, // in HeaderFooter::Kind order
    Footer, FooterLeft, FooterRight, FooterFirst,
    Footnote,
    Stylesheet,
    StyleEntry,         // one style of \stylesheet
    Info,
    InfoText,           // \title, \author ...
    InfoTime,           // \creatim, \revtim ...
    ShapePicture,       // a shape's picture property: its picture shows where the shape stands, its text does not
};

// What the reader does with a word that is not a destination.
enum class RtfWord : quint8 {
    Rtf, CodePage, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode,
    Font, FontCharset, FontCodePage, Red, Green, Blue,
    Plain, Bold, Italic, Underline, Strike, FontSize, Foreground, Background, Highlight,
    Up, Down, Script, Hidden, Caps, SmallCaps,
    ParagraphDefault, Alignment, LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter,
    LineSpacing, LineMultiple, TabPosition, TabKind, BarTab, InTable, NestLevel, ListOverrideIndex,
    ListLevelIndex, PageBreakBefore,
    Par, Sect, SectionBreak, Page, Character, Cell, NestCell, Row, NestRow,
    RowDefaults, CellRight, CellMerge, RowGap, RowAlignment,
    ListId, LevelFormat, LevelStart,
    OldListLevel, OldListStyle, OldListStart,
    PictureType, PictureWidth, PictureHeight, GoalWidth, GoalHeight, ScaleX, ScaleY,
    BitmapBitsPerPixel, BitmapWidthBytes, MetafileMode,
    // Styles.
    Style, CharacterStyle, OtherStyle, BasedOn, NextStyle,
    // Page set-up, headers and notes.
    PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop, MarginBottom, Landscape,
    SectionPaperWidth, SectionPaperHeight, SectionMarginLeft, SectionMarginRight, SectionMarginTop,
    SectionMarginBottom, SectionLandscape, HeaderDistance, FooterDistance, TitlePage, FacingPages,
    FootnoteFormat, EndnoteFormat, FootnoteStart, EndnoteStart, FootnoteRestart, EndnoteRestart,
    NoteTypes, FootnotePlacement, EndnotePlacement, NoteMark, EndnoteFlag, PageNumber, AnnotationMark,
    // Document information dates.
    Year, Month, Day, Hour, Minute, Second,
    // Direction.
    RightToLeft,
    // Table cells and rows.
    CellBorderSide, OtherBorder, BorderStyle, BorderWidth, BorderColor, CellBackground, CellPattern,
    CellShading, CellVerticalAlignment, RowHeight, RowHeader, RowPadding, RowPaddingUnit, CellPadding,
    CellPaddingUnit, RowLeft,
    // Shapes.
    ShapeLeft, ShapeTop, ShapeRight, ShapeBottom, ShapeWrap, ShapeWrapSide,
};

// The range a word's parameter is clamped to after it was read (saturated to int32).
enum class RtfRange : quint8 { Any, Twips, HalfPoints, Byte, Index, Level, Nesting, Skip, Scale };

// Values of the words whose table value names a choice.
namespace RtfValues {
enum Script { NoScript = 0, Superscript = 1, Subscript = 2 };
enum CellMerge { MergeFirst = 1, MergeNext = 2, VMergeFirst = 4, VMergeNext = 8 }; // bits
enum PictureKind { Png = 1, Jpeg, Emf, Wmf, Dib, WindowsBitmap, MacPict, OtherPicture };
enum OldListStyle { OldBullet = 1, OldDecimal, OldUpperAlpha, OldLowerAlpha, OldUpperRoman,
                    OldLowerRoman, OldBody, OldContinue };
enum TabKind { TabLeft = 0, TabRight = 1, TabCenter = 2, TabDecimal = 3 };
enum SectionBreak { BreakNone = 0, BreakPage = 1 };
enum Side { Top = 0, Left = 1, Bottom = 2, Right = 3 }; // also the base of \trpadd and \clpad values
enum VerticalAlignment { AlignTop = 0, AlignCenter = 1, AlignBottom = 2 };
}

struct RtfControlWord
{
    std::string_view name;
    RtfKind kind;
    RtfWord word;
    int value;
    RtfRange range;
};

// The one table of control words the reader knows.
class RtfControlWords
{
public:
    // The entry for a word, or null for a word the reader does not know.
    static const RtfControlWord *find(QByteArrayView name);
    // The parameter a word acts with: its own, its default or its on/off value, clamped.
    static int effectiveValue(const RtfControlWord &entry, bool hasParameter, int parameter);
    // Whether a word or destination sets something for the whole document (its tables, code page,
    // page set-up), or names one of its lists.
    static bool isDocumentWide(const RtfControlWord &entry);
};
