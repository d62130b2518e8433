#pragma once
// SharedServices: the library's objects, one instance each for the process
// (tests make their own). Everything a step needs from the library is here.

#include "services/errorhandling.h"
#include "services/log.h"
#include "services/operator.h"
#include "services/svcini.h"
#include "services/svcsession.h"
#include "services/writefaults.h"

class SharedServices
{
public:
    SharedServices() : errors(log), session(errors) { session.connection().setWriteFaults(&faults); }
    SharedServices(const SharedServices &) = delete;
    SharedServices &operator=(const SharedServices &) = delete;

    void setOperator(Operator *op) { errors.setOperator(op); }
    Operator *operatorUi() const { return errors.operatorUi(); }

    // A message box through the operator (logged in every case).
    void message(const QString &text, const QString &title, MessageIcon icon);

    Log log;
    WriteFaults faults; // test hooks on the writes to Orva (inert unless configured)
    ErrorHandling errors;
    SvcSession session;
    SvcIni ini;
    SvcApp app;
};
