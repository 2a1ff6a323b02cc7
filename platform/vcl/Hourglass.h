// Hourglass cursor for the lifetime of the guard, restored on every path out of the scope.
#pragma once

class THourglass {
public:
    explicit THourglass(bool busy = false); // busy: the background-work cursor
    ~THourglass();
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};
