// Where the entries of rows live. A row obtains its storage here when it is
// sized and gives it back when it is resized or destroyed; nothing else is
// shared between rows.
//
// The elimination reads one column of every row in turn, so it touches a
// different page of memory in nearly every step. With the usual 4 KiB pages
// the processor's address translation misses on almost every one of those
// reads. Mid-sized rows are therefore packed into regions that the kernel
// may back with 2 MiB pages, so that one translation covers many rows. The
// regions share a fixed budget; past it, and for large rows, each row is its
// own mapping, of which only the written pages ever become resident.
#ifndef CRNINV_ALGEBRA_ROW_STORAGE_H_
#define CRNINV_ALGEBRA_ROW_STORAGE_H_

#include <cstddef>
#include <cstdint>

// bytes of storage that read as zero. Fails the way
// operator new does: through the new-handler, else std::bad_alloc.
void* obtain_zeroed(size_t bytes);

// Gives back storage from obtain_zeroed with the same byte count. Null is
// ignored.
void give_back(void* storage, size_t bytes);

// Says that count rows of bytes_each are about to be obtained. Packing
// makes the whole of every region resident, which pays only when all of the
// rows fit the budget, and only when they fill at least one huge page. Then
// rows of any length are packed; otherwise none is, and each mapped row
// keeps only its written pages resident. Until told, rows from 16 KiB on
// are packed while the budget lasts.
void expect_rows(uint64_t count, uint64_t bytes_each);

// Bytes of regions now mapped for packed rows; at most the budget below.
size_t packed_bytes_mapped();
constexpr size_t kPackedBudget = size_t{256} << 20;

#endif  // CRNINV_ALGEBRA_ROW_STORAGE_H_
