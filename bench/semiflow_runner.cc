// Measures the semiflow computation on a network file.
//
// usage: semiflow_runner [--transitions] [--max N] [--print] infile
//
// Reads the file as crninv does (two passes, rows of species over the
// reactions), builds the stoichiometric matrix N and computes the minimal
// P-semiflows, or with --transitions those of N^T (the T-semiflows). Prints
// "semiflows COUNT" (or "too many: more than N", "too many candidates:
// more than N") and the times of reading
// and of the computation on standard output; --print then lists each
// semiflow as "coefficient:index" terms, indices from 0.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "base/storage.h"
#include "crninv/errors.h"
#include "crninv/text_format.h"
#include "semiflows/semiflows.h"

using namespace crninv;

namespace {

[[noreturn]] void out_of_memory() {
  fputs("Out of memory\n", stderr);
  exit(1);
}

[[noreturn]] void usage() {
  fputs("usage: semiflow_runner [--transitions] [--max N] [--print] infile\n", stderr);
  exit(1);
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The stoichiometric matrix of the network in path, species by reactions.
SparseMatrix read_matrix(const char* path) {
  try {
    return read_network(path).stoichiometry();
  } catch (const Error& e) {
    fprintf(stderr, "%s\n", e.what());
    exit(1);
  }
}

// The coefficient of s's k-th term in decimal.
std::string coefficient_text(const Semiflow& s, size_t k) {
  return s.wide.empty() ? std::to_string(s.coefficients[k]) : s.wide[k].get_str();
}

}  // namespace

int main(int argc, char** argv) {
  bool transitions = false, print = false;
  uint64_t max_semiflows = UINT64_MAX;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--transitions") == 0) {
      transitions = true;
    } else if (strcmp(argv[i], "--print") == 0) {
      print = true;
    } else if (strcmp(argv[i], "--max") == 0 && i + 1 < argc) {
      max_semiflows = strtoull(argv[++i], nullptr, 10);
    } else if (path == nullptr && argv[i][0] != '-') {
      path = argv[i];
    } else {
      usage();
    }
  }
  if (path == nullptr) usage();
  std::set_new_handler(out_of_memory);
  StorageAccount account(default_memory_budget());
  AccountScope scope(account);
  account_long_integers();

  auto start = std::chrono::steady_clock::now();
  SparseMatrix n = read_matrix(path);
  if (transitions) n = transposed(n);
  double reading = seconds_since(start);

  start = std::chrono::steady_clock::now();
  std::vector<Semiflow> semiflows;
  Control control;
  Monitor monitor(control, Progress::kSemiflows);
  SemiflowStatus status;
  try {
    status = minimal_semiflows(n, max_semiflows, &semiflows, monitor);
  } catch (const OutOfMemory&) {
    out_of_memory();
  }
  double computing = seconds_since(start);

  if (status == SemiflowStatus::kTooMany) {
    printf("too many: more than %llu\n", static_cast<unsigned long long>(max_semiflows));
  } else if (status == SemiflowStatus::kTooManyCandidates) {
    printf("too many candidates: more than %llu\n", static_cast<unsigned long long>(max_semiflows));
  } else {
    printf("semiflows %zu\n", semiflows.size());
  }
  printf("read %.6f s, computed %.6f s, accounted peak %.1f MB\n", reading, computing,
         account.peak() / 1e6);
  if (print) {
    for (const Semiflow& s : semiflows) {
      for (size_t k = 0; k < s.support.size(); ++k) {
        printf("%s%s:%u", k ? " " : "", coefficient_text(s, k).c_str(), s.support[k]);
      }
      putchar('\n');
    }
  }
  return status == SemiflowStatus::kDone ? 0 : 2;
}
