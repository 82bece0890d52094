// The records that carry the string reading of a theory: branching tables of the
// covariant-lattice algebra, the algebra extension of each world-sheet side, and the string data
// of a theory. A tensor product holds one string-data record by value and a building block made
// from a product keeps a copy; the tables are built by the covariant-lattice code and the
// extensions filled by the string analysis.
#pragma once

// The branching of the basic representations of the larger algebra G into those of the
// subalgebra H; algebras are named by (type, rank).
struct Branching {
    int type_H;
    int rank_H;
    int type_G;
    int rank_G;
    int N_H; // class counts
    int N_G;
    int chirality;          // which of several embeddings; part of the table's key
    int chirality_resolved; // 1 when the two chiralities of G can be told apart in H
    int Adjoint[4];         // multiplicity of each H class in adjoint(G) minus adjoint(H)
    int table[4][4];        // table[i][j]: multiplicity of H class j in G class i; table[0][0] is 1
};

// A node of the one list of all branching tables built, newest first; never freed.
struct TableNode {
    struct Branching* Branching;
    TableNode* next;
};

// One world-sheet side's algebra extension.
struct Extension {
    struct Branching* Branch; // from the extended algebra to the covariant-lattice algebra
    int* currents;            // field labels of the extension currents
    int size;
    int addim; // adjoint dimension
};

// The string data of a theory.
struct Heterotic {
    Extension* Left; // null until the string analysis sets them
    Extension* Right;
    struct Branching* CovLatEmbedding; // from the covariant-lattice algebra to SO(d+6)
    int Symmetric;
    int addim;     // massless currents beyond the adjoint of the extended algebra
    int CovLatDim; // d, the covariant-lattice dimension
    int SpaceTimeDim;
    int ImplicitE8;     // 1 when an E8 factor is assumed implicitly
    int error;          // 1 when the string data cannot be used
    int massless[4][4]; // massless states by left class i and right class j
};
