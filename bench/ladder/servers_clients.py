#!/usr/bin/env python3
"""Writes a ServersAndClients net of the Model Checking Contest, of any size.

usage: servers_clients.py CLIENTS SERVERS NET_FILE [PNML_FILE]

The family is regular: a shared place sys; for each client c the places
init_c, sys_req_c, att_c, sys_rep_c and the transitions send_req_c, rec_rep_c;
for each server s the place sv_s, and for each server and client the place
sv_s_c and the transitions req_s_c, rep_s_c. The network file lists the
transitions in the order of the contest's own PNML (clients first, then the
servers, each with its clients), so that ServersAndClients-PT-100080 comes out
as the converted file in ../shared/nets/mcc-large. The PNML, when asked for,
holds the same net for PetriSpot.
"""
import sys


def transitions(clients, servers):
    for c in range(clients):
        yield f"send_req{c}", ["sys", f"init{c}"], [f"sys_req{c}", f"att{c}"]
        yield f"rec_rep{c}", [f"sys_rep{c}", f"att{c}"], ["sys", f"init{c}"]
    for s in range(servers):
        for c in range(clients):
            yield f"req{s}_c{c}", [f"sv{s}", f"sys_req{c}"], [f"sv{s}_c{c}"]
            yield f"rep{s}_c{c}", [f"sv{s}_c{c}"], [f"sv{s}", f"sys_rep{c}"]


def write_net(path, clients, servers):
    with open(path, "w") as out:
        out.write(f"# ServersAndClients with {clients} clients and {servers} servers\n")
        for name, inputs, outputs in transitions(clients, servers):
            out.write(f"{name}: {' + '.join(inputs)} -> {' + '.join(outputs)};\n")


def write_pnml(path, clients, servers):
    places = []
    seen = set()
    arcs = []
    names = []
    for name, inputs, outputs in transitions(clients, servers):
        names.append(name)
        for p in inputs + outputs:
            if p not in seen:
                seen.add(p)
                places.append(p)
        arcs += [(p, name) for p in inputs] + [(name, p) for p in outputs]
    with open(path, "w") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        out.write('<pnml xmlns="http://www.pnml.org/version-2009/grammar/pnml">\n')
        out.write('<net id="sac" type="http://www.pnml.org/version-2009/grammar/ptnet">\n')
        out.write('<page id="page">\n')
        for p in places:
            out.write(f'<place id="{p}"><name><text>{p}</text></name></place>\n')
        for t in names:
            out.write(f'<transition id="{t}"><name><text>{t}</text></name></transition>\n')
        for i, (a, b) in enumerate(arcs):
            out.write(f'<arc id="a{i}" source="{a}" target="{b}"></arc>\n')
        out.write("</page>\n</net>\n</pnml>\n")


if __name__ == "__main__":
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    clients, servers = int(sys.argv[1]), int(sys.argv[2])
    write_net(sys.argv[3], clients, servers)
    if len(sys.argv) == 5:
        write_pnml(sys.argv[4], clients, servers)
