#pragma once
// The Orva key of a KTZ article: article number, "-", category code,
// right-aligned in 25 characters. Every step that names a KTZ article uses it.

#include <QString>
#include <QVariant>

constexpr int ArticleKeyWidth = 25;

// A Null side gives no text: a Null category still keys the article by its
// number and the hyphen.
QString articleKey(const QVariant &articleNumber, const QVariant &category);
