#include "deliverynotes/deliverynote.h"

// Placeholder until the delivery-note step lands.
void LeeRenglonRemito(Recordset &, DeliveryNoteLine &) {}
