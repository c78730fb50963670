// Array2D: a table of zero-filled rows, all in one block one after another,
// so a whole array can be handed out as one C-ordered matrix (the Python
// module's arrays are views of it).
//
// a[i][j] is element j of row i. In every grid array rows = NX and cols = NY,
// so the first index is the x (west-east) index and the second the y index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

template <typename T>
class Array2D {
public:
    Array2D() = default;
    Array2D(int32_t rowCount, int32_t colCount) { allocate(rowCount, colCount); }
    ~Array2D() { release(); }

    Array2D(const Array2D&) = delete;
    Array2D& operator=(const Array2D&) = delete;
    Array2D(Array2D&& other) noexcept { swap(other); }
    Array2D& operator=(Array2D&& other) noexcept
    {
        if (this != &other) {
            release();
            swap(other);
        }
        return *this;
    }

    // Stores both counts, then allocates the row table and the block of all
    // rows, all zero. Whatever the array held before is released first.
    void allocate(int32_t rowCount, int32_t colCount)
    {
        release();
        rows = rowCount;
        cols = colCount;
        if (rows <= 0)
            return;
        const int64_t rowLength = cols > 0 ? cols : 0;
        rowTable = new T*[rows];
        block = new T[static_cast<std::size_t>(rows) * static_cast<std::size_t>(rowLength)]();
        for (int32_t i = 0; i < rows; ++i)
            rowTable[i] = block + i * rowLength;
    }

    // Frees the block and the table; a non-positive row count means nothing
    // was allocated, so nothing is freed.
    void release()
    {
        if (rows > 0 && rowTable) {
            delete[] block;
            delete[] rowTable;
        }
        block = nullptr;
        rowTable = nullptr;
        rows = 0;
        cols = 0;
    }

    T* operator[](int32_t i) { return rowTable[i]; }
    const T* operator[](int32_t i) const { return rowTable[i]; }

    int32_t rowCount() const { return rows; }
    int32_t colCount() const { return cols; }
    bool empty() const { return rowTable == nullptr; }
    // Every element, row after row (rowCount * colCount of them); null when empty.
    T* data() { return block; }
    const T* data() const { return block; }

    // Copies every element of a same-sized array.
    void copyFrom(const Array2D& other)
    {
        for (int32_t i = 0; i < rows && i < other.rows; ++i)
            for (int32_t j = 0; j < cols && j < other.cols; ++j)
                rowTable[i][j] = other.rowTable[i][j];
    }

private:
    void swap(Array2D& other) noexcept
    {
        std::swap(rows, other.rows);
        std::swap(cols, other.cols);
        std::swap(rowTable, other.rowTable);
        std::swap(block, other.block);
    }

    int32_t rows = 0;        // number of rows (first index)
    int32_t cols = 0;        // elements per row (second index)
    T** rowTable = nullptr;  // one pointer per row, into block
    T* block = nullptr;      // the rows, one after another
};
