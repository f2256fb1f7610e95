#pragma once
#include "docx/DocxBuildSink.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <variant>
#include <vector>

// Hands what a story reader reads on one thread to a DocxBuildSink on another, in batches: the
// reader parses the next paragraphs while the document is built from the last ones.
class DocxBuildQueue : public DocxBuildSink
{
public:
    static constexpr std::size_t kBatch = 1024; // calls handed over at a time
    static constexpr std::size_t kMaxBatches = 8; // waiting at most: the reader waits past this

    // The reader's side.
    void startParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars, const ListItem *item) override;
    void insertText(const QString &text, const QTextCharFormat &format) override;
    void insertFloat(const QTextFrameFormat &frame, const QTextImageFormat &image) override;
    void openTable(const QTextTableFormat &format, int gridColumns) override;
    void startRow() override;
    void startCell(const Cell &cell) override;
    void endRow(const QTextTableCellFormat &filler, bool header) override;
    void closeTable(const QTextTableCellFormat &lastRowBottom, const std::vector<bool> &ownBottom) override;
    void keepAtEnd(int property, const QString &kept) override;
    void addResource(int type, const QUrl &name, const QVariant &resource) override;
    void finish() override;
    // The reader ends: with nothing more, or with an error, which play() throws again on the
    // other side.
    void end();
    void fail(std::exception_ptr error);

    // The builder's side: plays the calls into `target` as they come, until the reader finishes
    // (or fails, when the failure is thrown here).
    void play(DocxBuildSink &target);
    // The builder gives up (it failed): the reader no longer waits for room.
    void stop();

private:
    struct Paragraph { QTextBlockFormat block; QTextCharFormat chars; bool hasItem; ListItem item; };
    struct Text { QString text; QTextCharFormat format; };
    struct Float { QTextFrameFormat frame; QTextImageFormat image; };
    struct Table { QTextTableFormat format; int columns; };
    struct Row {};
    struct CellStart { Cell cell; };
    struct RowEnd { QTextTableCellFormat filler; bool header; };
    struct TableEnd { QTextTableCellFormat bottom; std::vector<bool> ownBottom; };
    struct Kept { int property; QString kept; };
    struct Resource { int type; QUrl name; QVariant resource; };
    struct Finish {};
    using Call = std::variant<Paragraph, Text, Float, Table, Row, CellStart, RowEnd, TableEnd, Kept, Resource, Finish>;

    void push(Call &&call);
    void handOver(bool last);

    std::vector<Call> pending_; // the reader's, not yet handed over
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable room_;
    std::vector<std::vector<Call>> batches_;
    bool finished_ = false;
    bool stopped_ = false;
    std::exception_ptr error_;
};
