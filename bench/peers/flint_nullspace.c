/* Nullity of an integer matrix with FLINT's exact fmpz_mat_nullspace.
 *
 * usage: flint_nullspace MATRIX
 *
 * MATRIX is in 4ti2's format: "rows cols" and then the entries row by row.
 * Given the transposed stoichiometric matrix (reactions x species), the null
 * space is spanned by the conservation laws. Prints
 *
 *     flows compute_seconds
 *
 * where compute_seconds covers fmpz_mat_nullspace alone.
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
  long rows, cols;
  if (fscanf(in, "%ld %ld", &rows, &cols) != 2 || rows < 0 || cols < 0) {
    fprintf(stderr, "%s: bad header\n", argv[1]);
    return 2;
  }
  fmpz_mat_t a, x;
  fmpz_mat_init(a, rows, cols);
  for (long i = 0; i < rows; i++)
    for (long j = 0; j < cols; j++) {
      long v;
      if (fscanf(in, "%ld", &v) != 1) {
        fprintf(stderr, "%s: short matrix\n", argv[1]);
        return 2;
      }
      fmpz_set_si(fmpz_mat_entry(a, i, j), v);
    }
  fclose(in);

  fmpz_mat_init(x, cols, cols);
  double t = now();
  long nullity = (long)fmpz_mat_nullspace(x, a);
  t = now() - t;
  printf("%ld %.6f\n", nullity, t);
  fmpz_mat_clear(x);
  fmpz_mat_clear(a);
  return 0;
}
