"""A matrix given to crninv.Network, as the compressed rows the library takes.

Only the shape of the data changes here: entries must be whole numbers that
fit 64 bits, and they are kept exactly.
"""

import numpy as np

_INT64 = np.iinfo(np.int64)


def _whole(data):
    """data (a NumPy array) as int64, exactly, or an error that says why not."""
    kind = data.dtype.kind
    if kind in "bi":
        return data.astype(np.int64, copy=False)
    if kind == "u":
        if data.size and data.max() > np.uint64(_INT64.max):
            raise OverflowError("an entry of the matrix does not fit a 64-bit integer")
        return data.astype(np.int64)
    if kind == "f":
        if not np.all(np.isfinite(data)) or np.any(data != np.floor(data)):
            raise ValueError("the entries of the matrix must be whole numbers "
                             "(scale a reaction with fractional stoichiometries first)")
        if data.size and (data.max() >= 2.0**63 or data.min() < -(2.0**63)):
            raise OverflowError("an entry of the matrix does not fit a 64-bit integer")
        return data.astype(np.int64)
    if kind == "O":
        out = np.empty(data.shape, dtype=np.int64)
        for i, v in enumerate(data.flat):
            n = int(v)
            if n != v:
                raise ValueError("the entries of the matrix must be whole numbers")
            if not _INT64.min <= n <= _INT64.max:
                raise OverflowError("an entry of the matrix does not fit a 64-bit integer: %d" % n)
            out.flat[i] = n
        return out
    raise TypeError("the entries of the matrix must be numbers, not %s" % data.dtype)


def _sparse(matrix):
    """A scipy.sparse matrix, or None when matrix is none (or scipy is missing)."""
    try:
        import scipy.sparse as sp
    except ImportError:
        return None
    return matrix if sp.issparse(matrix) else None


def csr_arrays(matrix):
    """(indptr, indices, data, rows, columns): uint64, uint32, int64, int, int.

    Each row's columns ascend, without repeats or zeros."""
    sparse = _sparse(matrix)
    if sparse is not None:
        m = sparse.tocsr()
        if m is sparse and not (m.has_canonical_format and np.all(m.data != 0)):
            m = m.copy()
        if not m.has_canonical_format:
            m.sum_duplicates()
        data = _whole(m.data)
        if np.any(data == 0):
            keep = data != 0
            counts = np.add.reduceat(keep, m.indptr[:-1]) if m.nnz else np.zeros(0, int)
            counts[np.diff(m.indptr) == 0] = 0
            indptr = np.concatenate(([0], np.cumsum(counts)))
            indices, data = m.indices[keep], data[keep]
        else:
            indptr, indices = m.indptr, m.indices
        rows, columns = m.shape
    else:
        dense = np.asarray(matrix)
        if dense.ndim != 2:
            if dense.size == 0 and dense.ndim == 1:
                dense = dense.reshape(0, 0)
            else:
                raise ValueError("the matrix must have two dimensions, species by reactions")
        dense = _whole(dense)
        rows, columns = dense.shape
        row, column = np.nonzero(dense)
        indptr = np.zeros(rows + 1, dtype=np.uint64)
        np.cumsum(np.bincount(row, minlength=rows), out=indptr[1:])
        indices, data = column, dense[row, column]
    if columns >= 2**32 or rows >= 2**32:
        raise ValueError("a matrix of more than 4294967295 rows or columns")
    return (np.ascontiguousarray(indptr, dtype=np.uint64),
            np.ascontiguousarray(indices, dtype=np.uint32),
            np.ascontiguousarray(data, dtype=np.int64), int(rows), int(columns))


def names(given, count, what):
    """The count names given for the species (or reactions), checked."""
    given = [n if isinstance(n, str) else str(n) for n in given]
    if len(given) != count:
        raise ValueError("%d %s names for a matrix with %d" % (len(given), what, count))
    if len(set(given)) != count:
        seen = set()
        twice = next(n for n in given if n in seen or seen.add(n))
        raise ValueError("the %s name %r is given twice" % (what, twice))
    return given
