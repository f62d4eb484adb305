/* The reduced row-echelon form of [N | -I] with FLINT's exact fmpz_mat_rref:
 * the whole of what crninv computes, beside fmpz_mat_nullspace (the flows
 * alone, flint_nullspace.c).
 *
 * usage: flint_rref MATRIX
 *
 * MATRIX is the transposed stoichiometric matrix N^T (reactions x species)
 * in 4ti2's format: "rows cols" and then the entries row by row. Prints
 *
 *     flows compute_seconds
 *
 * where flows counts the rows whose reaction part is zero and
 * compute_seconds covers fmpz_mat_rref alone.
 */
#include <flint/fmpz.h>
#include <flint/fmpz_mat.h>
#include <stdio.h>
#include <time.h>

static double now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec + 1e-9 * (double)ts.tv_nsec;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s MATRIX\n", argv[0]);
    return 2;
  }
  FILE* in = fopen(argv[1], "r");
  if (!in) {
    perror(argv[1]);
    return 2;
  }
  long R, S;
  if (fscanf(in, "%ld %ld", &R, &S) != 2 || R < 0 || S < 0) {
    fprintf(stderr, "%s: bad header\n", argv[1]);
    return 2;
  }
  /* Row k of the augmented matrix: species k's change in each reaction, then -1 at R + k. */
  fmpz_mat_t a, b;
  fmpz_t den;
  fmpz_mat_init(a, S, R + S);
  for (long j = 0; j < R; j++)
    for (long k = 0; k < S; k++) {
      long v;
      if (fscanf(in, "%ld", &v) != 1) {
        fprintf(stderr, "%s: short matrix\n", argv[1]);
        return 2;
      }
      fmpz_set_si(fmpz_mat_entry(a, k, j), v);
    }
  fclose(in);
  for (long k = 0; k < S; k++) fmpz_set_si(fmpz_mat_entry(a, k, R + k), -1);

  fmpz_mat_init(b, S, R + S);
  fmpz_init(den);
  double t = now();
  fmpz_mat_rref(b, den, a);
  t = now() - t;
  long flows = 0;
  for (long k = 0; k < S; k++) {
    int zero = 1;
    for (long j = 0; j < R && zero; j++) zero = fmpz_is_zero(fmpz_mat_entry(b, k, j));
    flows += zero;
  }
  printf("%ld %.6f\n", flows, t);
  fmpz_clear(den);
  fmpz_mat_clear(b);
  fmpz_mat_clear(a);
  return 0;
}
