#pragma once
// The change test of the insert-or-update-by-key writes: a stored Orva value
// and the fresh KTZ value differ only when both are present and their texts
// differ, letter case ignored and blanks kept.

#include <QVariant>

// Whether the stored value must be rewritten with the fresh one. A Null (or
// missing) value on either side is no difference. Never raises.
bool textDiffers(const QVariant &stored, const QVariant &fresh);
