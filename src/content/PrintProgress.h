#pragma once

// Follows a print job page by page, and may stop it between two pages.
class PrintProgress
{
public:
    virtual ~PrintProgress() = default;

    // Before page `page` (counted from 1) of `pageCount` is printed. False stops the job there:
    // the pages before it are printed, this one and the rest are not.
    virtual bool beforePage(int page, int pageCount) = 0;
};
