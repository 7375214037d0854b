#pragma once

#include <QObject>

// The shared data module: datasets that several screens share (entries,
// orders, agenda, reminders, lookup registers), all on DMBanco's connection
// and transaction and closed at start. Each dataset, with its SQL, fields and
// event rules, is added by the module that owns it; creating TDM runs
// nothing.
class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;
};

extern TDM* DM;
