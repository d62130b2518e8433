#pragma once
// The article step: copies the KTZ catalogue, with each article's selling
// price, into the Orva article table. New articles are inserted; a stored
// one is rewritten only when its price or description changed. The category
// and unit of every written article are brought up to date just before it.

#include "run/runcontext.h"

// ActualizaArticulos: one pass over the KTZ catalogue (articles with a price
// row, tax classes SHOP and CIGARRILLOS left out). Sets CantArt to the rows
// counted (only when there are rows) and raises CantArtAct after every insert
// or update statement, also one the operator went past after a failure.
// Drives the progress protocol. Failures go to the run's error handling with
// the article named; a GiveUp propagates to the run, and RunCancelled when
// the operator asked to stop. Statements stand alone: what was written stays.
void ActualizaArticulos(RunContext &context);

class ArticleTransfer : public TransferStep
{
public:
    void run(RunContext &context) override { ActualizaArticulos(context); }
};
