// What every call of the library sets up before it works: the memory
// account of the call, in scope on the calling thread for its whole life
// (GMP's integers counting in it too), and the monitor of its progress.
// The call's rows and vectors must all be gone before it ends.
#ifndef CRNINV_BASE_CALL_H_
#define CRNINV_BASE_CALL_H_

#include "base/monitor.h"
#include "base/storage.h"
#include "crninv/control.h"

namespace crninv {

class Call {
 public:
  // control must outlive the call.
  Call(const Control& control, Progress::Stage stage)
      : account(control.memory_budget), scope(account), progress(control, stage) {
    account_long_integers();
  }
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  Monitor& monitor() { return progress; }
  const StorageAccount& storage() const { return account; }

 private:
  StorageAccount account;
  AccountScope scope;
  Monitor progress;
};

}  // namespace crninv

#endif  // CRNINV_BASE_CALL_H_
