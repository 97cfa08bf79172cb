// Naming polyline vertices after texts: each vertex takes the nearest text not yet taken,
// by the 3D distance from the text's position to the vertex's plan point at z = 0, ties
// going to the text listed first. An index answers this as the plain scan over every text
// would, without looking at every text for every vertex.
#pragma once
#include <vector>
#include "host/ge/AcGePoint3d.h"

namespace fendo::exchange {

// The distance both the index and the scan compare: from a text's position to (x, y, 0).
double textDistance(const AcGePoint3d& text, const AcGePoint3d& vertex);

class NearestTexts {
public:
    explicit NearestTexts(std::vector<AcGePoint3d> positions);
    // The index of the nearest text not yet taken, which is then taken; -1 when none is left.
    int takeNearest(const AcGePoint3d& vertex);

private:
    struct Node {
        double lo[3];
        double hi[3];
        int alive = 0;  // texts not yet taken in this node's range
        int axis = 0;
    };
    void build(int first, int last);
    void search(int first, int last, const AcGePoint3d& q, int& best, double& bestDistance) const;

    std::vector<AcGePoint3d> m_points;
    std::vector<int> m_order;   // texts in tree order; the node of range [first, last) sits at its middle
    std::vector<Node> m_nodes;  // by middle position
    std::vector<bool> m_taken;  // by tree position
    std::vector<int> m_place;   // tree position of each text
};

// The same answers by comparing every text, for checking the index.
std::vector<int> nearestTextsByScan(const std::vector<AcGePoint3d>& texts, const std::vector<AcGePoint3d>& vertices);

}  // namespace fendo::exchange
