#include "docx/DocxBuildQueue.h"

#include <stdexcept>

void DocxBuildQueue::push(Call &&call)
{
    pending_.push_back(std::move(call));
    if (pending_.size() >= kBatch)
        handOver(false);
}

void DocxBuildQueue::handOver(bool last)
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        // What is read but not built yet stays bounded: the reader waits for the builder.
        room_.wait(lock, [this] { return batches_.size() < kMaxBatches || error_ || stopped_; });
        if (stopped_)
            throw std::runtime_error("the document is no longer built"); // ends the reader
        if (!pending_.empty())
            batches_.push_back(std::move(pending_));
        finished_ = finished_ || last;
    }
    pending_.clear();
    pending_.reserve(kBatch);
    ready_.notify_one();
}

void DocxBuildQueue::startParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars, const ListItem *item)
{
    push(Paragraph{block, chars, item != nullptr, item ? *item : ListItem()});
}

void DocxBuildQueue::insertText(const QString &text, const QTextCharFormat &format) { push(Text{text, format}); }
void DocxBuildQueue::insertFloat(const QTextFrameFormat &frame, const QTextImageFormat &image) { push(Float{frame, image}); }
void DocxBuildQueue::openTable(const QTextTableFormat &format, int gridColumns) { push(Table{format, gridColumns}); }
void DocxBuildQueue::startRow() { push(Row{}); }
void DocxBuildQueue::startCell(const Cell &cell) { push(CellStart{cell}); }
void DocxBuildQueue::endRow(const QTextTableCellFormat &filler, bool header) { push(RowEnd{filler, header}); }

void DocxBuildQueue::closeTable(const QTextTableCellFormat &lastRowBottom, const std::vector<bool> &ownBottom)
{
    push(TableEnd{lastRowBottom, ownBottom});
}

void DocxBuildQueue::keepAtEnd(int property, const QString &kept) { push(Kept{property, kept}); }

void DocxBuildQueue::addResource(int type, const QUrl &name, const QVariant &resource)
{
    push(Resource{type, name, resource});
}

void DocxBuildQueue::finish()
{
    push(Finish{});
}

void DocxBuildQueue::end()
{
    handOver(true);
}

void DocxBuildQueue::fail(std::exception_ptr error)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        error_ = error;
        finished_ = true;
    }
    ready_.notify_one();
}

void DocxBuildQueue::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    room_.notify_one();
}

void DocxBuildQueue::play(DocxBuildSink &target)
{
    for (;;) {
        std::vector<std::vector<Call>> batches;
        bool finished = false;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [this] { return !batches_.empty() || finished_; });
            batches.swap(batches_);
            finished = finished_;
            if (error_)
                std::rethrow_exception(error_);
        }
        room_.notify_one();
        for (std::vector<Call> &batch : batches) {
            for (Call &call : batch) {
                std::visit(
                    [&](auto &c) {
                        using T = std::decay_t<decltype(c)>;
                        if constexpr (std::is_same_v<T, Paragraph>)
                            target.startParagraph(c.block, c.chars, c.hasItem ? &c.item : nullptr);
                        else if constexpr (std::is_same_v<T, Text>)
                            target.insertText(c.text, c.format);
                        else if constexpr (std::is_same_v<T, Float>)
                            target.insertFloat(c.frame, c.image);
                        else if constexpr (std::is_same_v<T, Table>)
                            target.openTable(c.format, c.columns);
                        else if constexpr (std::is_same_v<T, Row>)
                            target.startRow();
                        else if constexpr (std::is_same_v<T, CellStart>)
                            target.startCell(c.cell);
                        else if constexpr (std::is_same_v<T, RowEnd>)
                            target.endRow(c.filler, c.header);
                        else if constexpr (std::is_same_v<T, TableEnd>)
                            target.closeTable(c.bottom, c.ownBottom);
                        else if constexpr (std::is_same_v<T, Kept>)
                            target.keepAtEnd(c.property, c.kept);
                        else if constexpr (std::is_same_v<T, Resource>)
                            target.addResource(c.type, c.name, c.resource);
                        else if constexpr (std::is_same_v<T, Finish>)
                            target.finish();
                    },
                    call);
            }
            batch.clear(); // the formats go back on this thread as they are used
        }
        if (finished)
            break;
    }
}
