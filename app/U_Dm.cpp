#include "U_Dm.h"

TDM* DM = nullptr;

TDM::TDM(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));
}

TDM::~TDM() = default;
