#pragma once
// The real transfer steps, made once for the process and handed to the run
// driver in their fixed order.

#include "run/rundriver.h"

#include <memory>

class Session;

class TransferSteps
{
public:
    explicit TransferSteps(Session &session);
    ~TransferSteps();
    RunDriver::Steps steps() const;

private:
    struct Parts;
    std::unique_ptr<Parts> d;
};
