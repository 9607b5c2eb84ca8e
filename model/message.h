#pragma once

#include <QMetaType>
#include <QString>

// A line a sequence has to say, with the colour it is shown in.
struct Message
{
    QString text;
    QString color;
};

Q_DECLARE_METATYPE(Message)
