/* Runs one command once and measures it.
 *
 * usage: measure TIMEOUT OUT ERR COMMAND [ARG...]
 *
 * Runs COMMAND with standard input from /dev/null, standard output to the file
 * OUT and standard error to ERR, and prints "STATUS SECONDS MAXRSS_KB": STATUS
 * is the exit status, "timeout" when the command was killed after TIMEOUT
 * seconds, or "signal" when it died of a signal; SECONDS is the wall time from
 * fork to exit; MAXRSS_KB is the peak resident memory of the command and of the
 * children it waited for.
 *
 * A C wrapper rather than a script: the kernel carries the peak memory of the
 * forked process over into the program it executes, so the wrapper itself has
 * to be small for the figure to be the command's own.
 */
#define _GNU_SOURCE
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static volatile sig_atomic_t timed_out;
static pid_t child;

static void on_alarm(int sig) {
  (void)sig;
  timed_out = 1;
  kill(-child, SIGKILL); /* the child leads its own process group */
}

static double now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec + 1e-9 * (double)ts.tv_nsec;
}

static void redirect(const char* path, int fd, int flags) {
  int f = open(path, flags, 0644);
  if (f < 0 || dup2(f, fd) < 0) {
    perror(path);
    _exit(127);
  }
  close(f);
}

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: %s TIMEOUT OUT ERR COMMAND [ARG...]\n", argv[0]);
    return 2;
  }
  double limit = atof(argv[1]);

  struct sigaction sa = {0};
  sa.sa_handler = on_alarm;
  sigaction(SIGALRM, &sa, NULL);

  double start = now();
  child = fork();
  if (child < 0) {
    perror("fork");
    return 2;
  }
  if (child == 0) {
    setpgid(0, 0);
    redirect("/dev/null", 0, O_RDONLY);
    redirect(argv[2], 1, O_WRONLY | O_CREAT | O_TRUNC);
    redirect(argv[3], 2, O_WRONLY | O_CREAT | O_TRUNC);
    execvp(argv[4], argv + 4);
    perror(argv[4]);
    _exit(127);
  }
  setpgid(child, child); /* also here, so the alarm never misses the group */

  struct itimerval it = {0};
  it.it_value.tv_sec = (time_t)limit;
  it.it_value.tv_usec = (suseconds_t)((limit - (double)(time_t)limit) * 1e6);
  setitimer(ITIMER_REAL, &it, NULL);

  int status;
  struct rusage usage;
  while (wait4(child, &status, 0, &usage) < 0)
    ; /* EINTR from the alarm: the killed child is still to be reaped */
  double seconds = now() - start;

  if (timed_out)
    printf("timeout");
  else if (WIFSIGNALED(status))
    printf("signal");
  else
    printf("%d", WEXITSTATUS(status));
  printf(" %.6f %ld\n", seconds, usage.ru_maxrss);
  return 0;
}
