/* FLINT's exact linear algebra on a network, for bench/compare.sh.
 *
 * usage: flint_exact nullspace|rref MATRIX
 *
 * MATRIX is the transposed stoichiometric matrix N^T (reactions x species)
 * in 4ti2's format: "rows cols" and then the entries row by row.
 *   nullspace  fmpz_mat_nullspace of N^T, whose null space the
 *              conservation laws span;
 *   rref       fmpz_mat_rref of [N | -I], the whole of what crninv computes;
 *              the flows are its rows whose reaction part is zero.
 * Prints
 *
 *     flows compute_seconds
 *
 * where compute_seconds covers the FLINT call alone.
 */
#include <flint/fmpz.h>
#include <flint/fmpz_mat.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

static double now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec + 1e-9 * (double)ts.tv_nsec;
}

/* Reads N^T into a (R x S); 0 on success. */
static int read_matrix(const char* path, fmpz_mat_t a) {
  FILE* in = fopen(path, "r");
  if (!in) {
    perror(path);
    return 2;
  }
  long rows, cols;
  if (fscanf(in, "%ld %ld", &rows, &cols) != 2 || rows < 0 || cols < 0) {
    fprintf(stderr, "%s: bad header\n", path);
    return 2;
  }
  fmpz_mat_init(a, rows, cols);
  for (long i = 0; i < rows; i++)
    for (long j = 0; j < cols; j++) {
      long v;
      if (fscanf(in, "%ld", &v) != 1) {
        fprintf(stderr, "%s: short matrix\n", path);
        return 2;
      }
      fmpz_set_si(fmpz_mat_entry(a, i, j), v);
    }
  fclose(in);
  return 0;
}

static long nullity(const fmpz_mat_t nt, double* seconds) {
  fmpz_mat_t x;
  fmpz_mat_init(x, fmpz_mat_ncols(nt), fmpz_mat_ncols(nt));
  double t = now();
  long flows = (long)fmpz_mat_nullspace(x, nt);
  *seconds = now() - t;
  fmpz_mat_clear(x);
  return flows;
}

static long rref_flows(const fmpz_mat_t nt, double* seconds) {
  long R = fmpz_mat_nrows(nt), S = fmpz_mat_ncols(nt);
  fmpz_mat_t a, b;
  fmpz_t den;
  /* Row k: species k's change in each reaction, then -1 at R + k. */
  fmpz_mat_init(a, S, R + S);
  for (long k = 0; k < S; k++) {
    for (long j = 0; j < R; j++) fmpz_set(fmpz_mat_entry(a, k, j), fmpz_mat_entry(nt, j, k));
    fmpz_set_si(fmpz_mat_entry(a, k, R + k), -1);
  }
  fmpz_mat_init(b, S, R + S);
  fmpz_init(den);
  double t = now();
  fmpz_mat_rref(b, den, a);
  *seconds = now() - t;
  long flows = 0;
  for (long k = 0; k < S; k++) {
    int zero = 1;
    for (long j = 0; j < R && zero; j++) zero = fmpz_is_zero(fmpz_mat_entry(b, k, j));
    flows += zero;
  }
  fmpz_clear(den);
  fmpz_mat_clear(b);
  fmpz_mat_clear(a);
  return flows;
}

int main(int argc, char** argv) {
  if (argc != 3 || (strcmp(argv[1], "nullspace") != 0 && strcmp(argv[1], "rref") != 0)) {
    fprintf(stderr, "usage: %s nullspace|rref MATRIX\n", argv[0]);
    return 2;
  }
  fmpz_mat_t nt;
  int status = read_matrix(argv[2], nt);
  if (status != 0) return status;
  double seconds;
  long flows = strcmp(argv[1], "rref") == 0 ? rref_flows(nt, &seconds) : nullity(nt, &seconds);
  printf("%ld %.6f\n", flows, seconds);
  fmpz_mat_clear(nt);
  return 0;
}
