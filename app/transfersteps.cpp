#include "app/transfersteps.h"
#include "catalogue/articletransfer.h"
#include "customers/customertransfer.h"
#include "deliverynotes/deliverynotetransfer.h"
#include "sales/salestransfer.h"
#include "session/session.h"

struct TransferSteps::Parts
{
    explicit Parts(Session &session) : deliveryNotes(session) {}
    ArticleTransfer articles;
    CustomerTransfer customers;
    SalesTransfer sales;
    DeliveryNoteTransfer deliveryNotes;
};

TransferSteps::TransferSteps(Session &session) : d(std::make_unique<Parts>(session))
{}

TransferSteps::~TransferSteps() = default;

RunDriver::Steps TransferSteps::steps() const
{
    return {&d->articles, &d->customers, &d->sales, &d->deliveryNotes};
}
