#include "motor/GrblProtocol.h"

#include <QList>

#include <cmath>

QByteArray GrblJogLine(const std::vector<std::pair<char, double>>& moves, double feedMmPerMin) {
    if (!(feedMmPerMin > 0) || !std::isfinite(feedMmPerMin))
        return {};
    QByteArray line = "$J=G91 G21";
    bool any = false;
    for (const auto& [axis, mm] : moves) {
        if (!std::isfinite(mm) || !QByteArray("XYZABC").contains(axis))
            return {};
        // Four decimals: a tenth of a micrometre, finer than any stepper resolves.
        if (std::abs(mm) < 0.00005)
            continue;
        line += ' ';
        line += axis;
        line += QByteArray::number(mm, 'f', 4);
        any = true;
    }
    if (!any)
        return {};
    line += " F" + QByteArray::number(feedMmPerMin, 'f', 1) + '\n';
    return line;
}

GrblReply ParseGrblLine(const QByteArray& raw) {
    GrblReply r;
    const QByteArray line = raw.trimmed();
    if (line.isEmpty())
        return r;
    if (line == "ok") {
        r.kind = GrblReply::Ok;
        return r;
    }
    auto number = [](const QByteArray& text, int& out) {
        bool ok = false;
        out = text.toInt(&ok);
        return ok;
    };
    if (line.startsWith("error:") && number(line.mid(6), r.code)) {
        r.kind = GrblReply::Error;
        return r;
    }
    if (line.startsWith("ALARM:") && number(line.mid(6), r.code)) {
        r.kind = GrblReply::Alarm;
        return r;
    }
    if (line.startsWith('<') && line.endsWith('>')) {
        const QList<QByteArray> fields = line.mid(1, line.size() - 2).split('|');
        // "Hold:0", "Door:1": the state without its sub-state.
        r.state = QString::fromLatin1(fields.front().split(':').front());
        if (r.state.isEmpty()) {
            r.kind = GrblReply::Other;
            return r;
        }
        r.kind = GrblReply::Status;
        for (const QByteArray& f : fields) {
            if (!f.startsWith("MPos:"))
                continue;
            const QList<QByteArray> v = f.mid(5).split(',');
            bool ok = v.size() >= 3;
            for (int i = 0; ok && i < 3; ++i) {
                r.mpos[i] = v[i].toDouble(&ok);
                ok = ok && std::isfinite(r.mpos[i]);
            }
            r.hasMpos = ok;
        }
        return r;
    }
    if (line.startsWith("Grbl ")) {
        r.kind = GrblReply::Welcome;
        return r;
    }
    r.kind = GrblReply::Other;
    return r;
}
