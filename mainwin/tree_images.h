#pragma once
// The small pictures of the tree nodes, by their picture keys.
#include <QIcon>
#include <string>

class QStyle;

QIcon TreeImage(const std::string& picture, QStyle* style);
