#pragma once
// What the sales step reads once and hands to every document it transfers.

#include "run/runcontext.h"

#include <QString>

// The natural-gas article that every fuel load moves out of stock.
struct GncArticle
{
    QString code; // "KTZ_CODIGOGNC" right-aligned to 25 characters
    QString description;
    QString unit;
};

struct SalesContext
{
    RunContext &context;
    QString salesAccount; // credited with the net amounts of every entry
    GncArticle gnc;
    // A document of the step did not reach Orva: no later date is remembered.
    bool datesHeld = false;
};
