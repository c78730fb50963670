// numpy arrays over the program's own arrays, without a copy: an Array2D
// keeps its rows in one block, so a whole array is one C-ordered matrix
// indexed [i, j] as the program indexes it (i west to east, j south to
// north). The owner handed in keeps the block alive while a view exists.
#pragma once

#include "core/array2d.h"

#include <pybind11/numpy.h>

#include <cstddef>

template <typename T>
pybind11::array arrayView(const Array2D<T>& a, pybind11::handle owner, bool writable)
{
    const auto rows = static_cast<pybind11::ssize_t>(a.rowCount());
    const auto cols = static_cast<pybind11::ssize_t>(a.colCount());
    const auto item = static_cast<pybind11::ssize_t>(sizeof(T));
    pybind11::array view(pybind11::dtype::of<T>(), {rows, cols}, {cols * item, item}, a.data(), owner);
    if (!writable)
        pybind11::detail::array_proxy(view.ptr())->flags &= ~pybind11::detail::npy_api::NPY_ARRAY_WRITEABLE_;
    return view;
}

// A new rows x cols array of doubles filled by value(i, j).
template <typename Value>
pybind11::array_t<double> computedArray(int rows, int cols, Value value)
{
    pybind11::array_t<double> out({static_cast<pybind11::ssize_t>(rows), static_cast<pybind11::ssize_t>(cols)});
    auto cells = out.mutable_unchecked<2>();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            cells(i, j) = value(i, j);
    return out;
}
